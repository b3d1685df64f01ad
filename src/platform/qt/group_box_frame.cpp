#include "platform/qt/group_box_frame.h"

#include <qdrawutil.h>
#include <QApplication>
#include <QGroupBox>
#include <QImageReader>
#include <QPixmap>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace {

class PlainFrameStyle : public QProxyStyle {
public:
    PlainFrameStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("fusion"))) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_FrameGroupBox && !Picture().isNull()) {
            // As Fusion draws a titleless frame: the picture's six-pixel
            // borders around the rectangle, three pixels below its top.
            qDrawBorderPixmap(painter, option->rect.adjusted(0, kTopMargin, 0, 0), QMargins(6, 6, 6, 6),
                              Picture());
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

private:
    static constexpr int kTopMargin = 3;

    const QPixmap& Picture() const {
        if (!m_pictureRead) {
            m_pictureRead = true;
            QImageReader reader(
                QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"), "png");
            reader.setAutoDetectImageFormat(false);
            m_picture = QPixmap::fromImage(reader.read());
        }
        return m_picture;
    }

    mutable QPixmap m_picture;
    mutable bool m_pictureRead = false;
};

}  // namespace

void UsePlainGroupBoxFrame(QGroupBox* box) {
    if (!box || !box->title().isEmpty() || box->isCheckable()) return;
    if (!QApplication::style() || QApplication::style()->name() != QLatin1String("fusion")) return;
    // One style for every such box, living as long as the application.
    static QPointer<PlainFrameStyle> style;
    if (!style) {
        style = new PlainFrameStyle;
        style->setParent(QCoreApplication::instance());
    }
    box->setStyle(style);
}
