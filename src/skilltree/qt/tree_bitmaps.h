// Bitmaps the tree window draws (icons, portraits, arrowheads), by resource
// number. Each is loaded and converted to the drawing format once and then
// kept for the process; a bitmap that does not load is a null image.
#pragma once

#include <QImage>

#include <functional>

const QImage& TreeBitmap(int id);

// Replaces where bitmaps come from (tests); an empty function restores the
// resources. Forgets every bitmap loaded so far.
void SetTreeBitmapSource(std::function<QImage(int)> source);
