#include "platform/qt/focus_rect.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QRect>

void DrawFocusRect(QPainter& painter, const QRect& rect, const QColor& colour) {
    if (rect.isEmpty()) return;
    // The dots sit where the distance from the top-left corner, along x plus
    // along y, is even: the pattern runs on unbroken round the corners.
    const auto dotted = [&rect](int x, int y) { return (x - rect.left() + y - rect.top()) % 2 == 0; };
    QPolygon dots;
    for (int x = rect.left(); x <= rect.right(); ++x) {
        if (dotted(x, rect.top())) dots << QPoint(x, rect.top());
        if (rect.bottom() != rect.top() && dotted(x, rect.bottom())) dots << QPoint(x, rect.bottom());
    }
    for (int y = rect.top() + 1; y < rect.bottom(); ++y) {
        if (dotted(rect.left(), y)) dots << QPoint(rect.left(), y);
        if (rect.right() != rect.left() && dotted(rect.right(), y)) dots << QPoint(rect.right(), y);
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(colour, 0));  // a one-pixel pen
    painter.drawPoints(dots);
    painter.restore();
}
