// A push button that shows one picture: drawn unscaled at the top-left of the
// button inside a raised frame, the same in every state (pressed, focused,
// disabled), clipped to the button. Without a picture only the frame shows.
// While the button has the keyboard focus, the dotted focus rectangle is
// drawn over the picture.
#pragma once

#include <QPixmap>

class QAbstractButton;

// Replaces the button's picture (a null pixmap removes it) and repaints it
// when the picture changed.
void SetButtonBitmap(QAbstractButton* button, const QPixmap& picture);
QPixmap ButtonBitmap(const QAbstractButton* button);

// Width of the frame drawn around the picture, in pixels.
inline constexpr int kBitmapButtonFrame = 2;
