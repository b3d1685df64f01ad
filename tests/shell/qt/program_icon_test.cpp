#include "shell/qt/program_icon.h"
#include "shell/desktop_integration.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

QImage Shipped(int size) {
    QImage image;
    image.loadFromData(ProgramIconPng(size), "PNG");
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage Of(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TEST(ProgramIconTest, GivesTheShippedPictureOfEachSizeAndScalesDownBetween) {
    const QIcon icon = ProgramIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes().size(), static_cast<qsizetype>(std::size(kIconSizes)));
    for (int size : kIconSizes) {
        const QImage shipped = Shipped(size);
        ASSERT_FALSE(shipped.isNull()) << size;
        EXPECT_EQ(Of(icon.pixmap(QSize(size, size))), shipped) << size;
    }
    // Between sizes: the next larger one scaled down; past the largest: the largest.
    EXPECT_EQ(icon.pixmap(QSize(40, 40)).size(), QSize(40, 40));
    EXPECT_EQ(icon.pixmap(QSize(512, 512)).size(), QSize(256, 256));
    EXPECT_EQ(icon.actualSize(QSize(512, 512)), QSize(256, 256));
    // Other modes are drawn from the same picture by the style.
    EXPECT_NE(Of(icon.pixmap(QSize(32, 32), QIcon::Disabled)), Shipped(32));
}

}  // namespace
