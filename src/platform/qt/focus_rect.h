// The dotted focus rectangle a control draws inside its edge while it has the
// keyboard focus: a one-pixel frame in which every other pixel is set.
#pragma once

class QColor;
class QPainter;
class QPushButton;
class QRect;

// How far inside a push button's edge its focus rectangle lies, in pixels; a
// flat button, which draws no frame, has it closer to its edge.
inline constexpr int kButtonFocusInset = 3;
inline constexpr int kFlatButtonFocusInset = 2;

// Sets every other pixel of the outline of `rect` (its own pixels, right and
// bottom edges included) to `colour`, starting with the top-left corner; the
// pixels between are left as they are. Nothing for an empty rectangle.
void DrawFocusRect(QPainter& painter, const QRect& rect, const QColor& colour);

// Makes `button` draw the dotted focus rectangle, in its text colour, while it
// has the keyboard focus, over what the application style draws: the style
// marks the default button, which need not be the one with the focus.
void ShowFocusRectOnButton(QPushButton* button);
