// The program's bitmaps, compiled in from resources/bitmaps.qrc. Each bitmap
// is the Qt resource ":/bmp/<id>" named by its resource number:
//   10001..11148  skill icons, 24 x 24, transparent key magenta 0xFF00FF
//   133..215, 1121..1128, 9501..9512, 9701..9712
//                 job portraits, 60 x 110 (one 62 x 110), key white;
//                 133 is the 119 x 99 portrait of a missing job
//   221..224      connector arrowheads, 6 x 6, key magenta
#pragma once

#include <QImage>

// The bitmap with this resource number as an RGB32 image; a null image when
// the program has no such bitmap.
QImage LoadBitmapResource(int id);
