#include "platform/qt/group_box_frame.h"

#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QStyle>

#include <gtest/gtest.h>

namespace {

QImage Render(QGroupBox& box) {
    QImage image(box.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    box.render(&image);
    return image;
}

// The plain frame must look exactly like the application style's own, at
// every size, enabled or not.
TEST(PlainGroupBoxFrame, DrawsWhatTheStyleDraws) {
    if (QApplication::style()->name() != QLatin1String("fusion"))
        GTEST_SKIP() << "the plain frame only replaces the Fusion style's";
    for (const QSize size : {QSize(856, 344), QSize(60, 40), QSize(13, 13), QSize(300, 20)}) {
        for (const bool enabled : {true, false}) {
            QGroupBox styled, plain;
            UsePlainGroupBoxFrame(&plain);
            ASSERT_NE(plain.style(), QApplication::style());
            for (QGroupBox* box : {&styled, &plain}) {
                box->resize(size);
                box->setEnabled(enabled);
            }
            EXPECT_EQ(Render(plain), Render(styled))
                << size.width() << " x " << size.height() << (enabled ? "" : ", disabled");
        }
    }
}

TEST(PlainGroupBoxFrame, LeavesTitledAndCheckableBoxesAlone) {
    QGroupBox titled(QStringLiteral("Title"));
    UsePlainGroupBoxFrame(&titled);
    EXPECT_EQ(titled.style(), QApplication::style());
    QGroupBox checkable;
    checkable.setCheckable(true);
    UsePlainGroupBoxFrame(&checkable);
    EXPECT_EQ(checkable.style(), QApplication::style());
    UsePlainGroupBoxFrame(nullptr);
}

}  // namespace
