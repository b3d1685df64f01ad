#include "platform/qt/bitmap_button.h"

#include "platform/qt/focus_rect.h"

#include <qdrawutil.h>
#include <QAbstractButton>
#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {
const char* const kPictureProperty = "tolvemarButtonBitmap";

class BitmapButtonPainter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button) return false;
        QPainter painter(button);
        const QRect all = button->rect();
        painter.fillRect(all, button->palette().window());
        qDrawShadePanel(&painter, all, button->palette(), false, kBitmapButtonFrame);
        const QRect inner =
            all.adjusted(kBitmapButtonFrame, kBitmapButtonFrame, -kBitmapButtonFrame, -kBitmapButtonFrame);
        const QPixmap picture = ButtonBitmap(button);
        if (!picture.isNull()) {
            painter.setClipRect(inner);
            painter.drawPixmap(inner.topLeft(), picture);
        }
        if (button->hasFocus()) {
            const int inset = kButtonFocusInset;
            DrawFocusRect(painter, all.adjusted(inset, inset, -inset, -inset),
                          button->palette().color(QPalette::ButtonText));
        }
        return true;
    }
};

BitmapButtonPainter* Painter() {
    static auto* painter = new BitmapButtonPainter;
    return painter;
}
}  // namespace

QPixmap ButtonBitmap(const QAbstractButton* button) {
    return button ? button->property(kPictureProperty).value<QPixmap>() : QPixmap();
}

void SetButtonBitmap(QAbstractButton* button, const QPixmap& picture) {
    if (!button) return;
    if (!button->property("tolvemarBitmapButton").toBool()) {
        button->installEventFilter(Painter());
        button->setProperty("tolvemarBitmapButton", true);
        button->setText(QString());
        button->update();
    }
    const QPixmap old = ButtonBitmap(button);
    if (old.cacheKey() == picture.cacheKey() && old.isNull() == picture.isNull()) return;
    button->setProperty(kPictureProperty, picture);
    button->update();
}
