// The dotted focus rectangle a control draws inside its edge while it has the
// keyboard focus: a one-pixel frame in which every other pixel is set.
#pragma once

class QColor;
class QPainter;
class QRect;

// Sets every other pixel of the outline of `rect` (its own pixels, right and
// bottom edges included) to `colour`, starting with the top-left corner; the
// pixels between are left as they are. Nothing for an empty rectangle.
void DrawFocusRect(QPainter& painter, const QRect& rect, const QColor& colour);
