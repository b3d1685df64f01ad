#include "platform/qt/focus_rect.h"

#include <QApplication>
#include <QColor>
#include <QPainter>
#include <QPen>
#include <QPointer>
#include <QPolygon>
#include <QProxyStyle>
#include <QPushButton>
#include <QRect>
#include <QStyleFactory>
#include <QStyleOptionButton>

namespace {

// The application's style, with the focus rectangle drawn over every push
// button that has the focus.
class ButtonFocusStyle final : public QProxyStyle {
public:
    // A style of the application's kind of its own: a proxy owns its base.
    ButtonFocusStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        QProxyStyle::drawControl(element, option, painter, widget);
        if (element != CE_PushButton || !(option->state & State_HasFocus)) return;
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        const int inset = button && (button->features & QStyleOptionButton::Flat) ? kFlatButtonFocusInset
                                                                                  : kButtonFocusInset;
        DrawFocusRect(*painter, option->rect.adjusted(inset, inset, -inset, -inset),
                      option->palette.color(QPalette::ButtonText));
    }
};

}  // namespace

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

void ShowFocusRectOnButton(QPushButton* button) {
    if (!button) return;
    // One style for every such button, living as long as the application.
    static QPointer<ButtonFocusStyle> style;
    if (!style) {
        style = new ButtonFocusStyle;
        style->setParent(QCoreApplication::instance());
    }
    button->setStyle(style);
}
