#include "platform/qt/gdi_surface.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <tuple>

namespace {

QRgb Px(GdiSurface& s, int x, int y) { return s.Image().pixel(x, y) & 0xFFFFFF; }
QRgb Rgb(uint32_t colourRef) { return RgbOfColourRef(colourRef) & 0xFFFFFF; }

// Each (x, y, colour ref) must hold that colour.
void ExpectPixels(GdiSurface& s, std::initializer_list<std::tuple<int, int, uint32_t>> pixels) {
    for (const auto& [x, y, colourRef] : pixels) EXPECT_EQ(Px(s, x, y), Rgb(colourRef)) << x << "," << y;
}

QImage Solid(int w, int h, uint32_t colourRef) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(RgbOfColourRef(colourRef));
    return image;
}

TEST(GdiSurface, ColourRefsAreBlueGreenRed) {
    EXPECT_EQ(Rgb(0x0000FF), 0xFF0000u);  // red
    EXPECT_EQ(Rgb(0xFF0000), 0x0000FFu);  // blue
}

TEST(GdiSurface, BlockTransfersCombineBitwise) {
    GdiSurface s(4, 1);
    const uint32_t dst = 0x0F0F33, src = 0x3355F0;
    const QImage source = Solid(4, 1, src);
    const struct {
        RasterOp op;
        uint32_t expected;
    } cases[] = {
        {RasterOp::SrcCopy, src},
        {RasterOp::SrcAnd, src & dst},
        {RasterOp::SrcPaint, src | dst},
        {RasterOp::SrcInvert, src ^ dst},
    };
    for (const auto& c : cases) {
        s.FillSolidRect({0, 0, 4, 1}, dst);
        s.BitBlt(1, 0, 2, 1, source, 0, 0, c.op);
        ExpectPixels(s, {{0, 0, dst}, {1, 0, c.expected}, {2, 0, c.expected}, {3, 0, dst}});
    }
    // Empty and negative sizes, and a null source, copy nothing.
    s.FillSolidRect({0, 0, 4, 1}, dst);
    s.BitBlt(0, 0, 0, 1, source, 0, 0, RasterOp::SrcCopy);
    s.BitBlt(0, 0, -3, -1, source, 0, 0, RasterOp::SrcCopy);
    s.BitBlt(0, 0, 4, 1, QImage(), 0, 0, RasterOp::SrcCopy);
    s.DrawTransparentBitmap(0, 0, -1, 1, source, 0xFF00FF);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Px(s, x, 0), Rgb(dst));
}

TEST(GdiSurface, TransparentCopyFollowsTheMaskRule) {
    // Source: key, colour, key, colour. Destination: button face, then a
    // colour that is not button face under the second key pixel.
    QImage source(4, 1, QImage::Format_RGB32);
    source.setPixel(0, 0, RgbOfColourRef(0xFF00FF));
    source.setPixel(1, 0, RgbOfColourRef(0x123456));
    source.setPixel(2, 0, RgbOfColourRef(0xFF00FF));
    source.setPixel(3, 0, RgbOfColourRef(0x000000));
    GdiSurface s(5, 1);
    s.FillSolidRect({0, 0, 5, 1}, kButtonFaceColour);
    s.FillSolidRect({3, 0, 4, 1}, 0x2468AC);
    s.FillSolidRect({4, 0, 5, 1}, 0x777777);
    s.SetBkColor(kButtonFaceColour);
    s.DrawTransparentBitmap(1, 0, 4, 1, source, 0xFF00FF);
    // Key over button face: unchanged; source; key: ANDed with the
    // background; a black source stays black.
    ExpectPixels(s, {{0, 0, kButtonFaceColour},
                     {1, 0, kButtonFaceColour},
                     {2, 0, 0x123456},
                     {3, 0, 0x2468AC & kButtonFaceColour},
                     {4, 0, 0x000000}});
    // Clipped at the surface's edges without harm.
    s.DrawTransparentBitmap(-2, 0, 4, 1, source, 0xFF00FF);
    s.DrawTransparentBitmap(4, 0, 4, 1, source, 0xFF00FF);
    EXPECT_EQ(Px(s, 0, 0), Rgb(kButtonFaceColour));
}

TEST(GdiSurface, OnePixelLinesLeaveOutTheirEndPoint) {
    GdiSurface s(12, 12);
    s.FillSolidRect({0, 0, 12, 12}, 0xFFFFFF);
    const GdiPen pen{0x0000FF, 1};
    s.SelectPen(&pen);
    s.MoveTo(2, 5);
    s.LineTo(8, 5);
    ExpectPixels(s, {{1, 5, 0xFFFFFF}, {2, 5, 0x0000FF}, {7, 5, 0x0000FF}, {8, 5, 0xFFFFFF}});
    s.LineTo(8, 1);  // upwards from the last end point, which it now draws
    ExpectPixels(s, {{8, 5, 0x0000FF}, {8, 2, 0x0000FF}, {8, 1, 0xFFFFFF}});
    s.LineTo(8, 1);  // zero length: nothing
    ExpectPixels(s, {{8, 1, 0xFFFFFF}});
    s.MoveTo(0, 0);
    s.LineTo(3, 3);
    ExpectPixels(s, {{2, 2, 0x0000FF}, {3, 3, 0xFFFFFF}});
}

TEST(GdiSurface, TwoPixelLinesCoverTheRowBeforeAndBothEnds) {
    GdiSurface s(20, 20);
    s.FillSolidRect({0, 0, 20, 20}, 0xFFFFFF);
    const GdiPen pen{0x0000FF, 2};
    s.SelectPen(&pen);
    s.MoveTo(5, 10);
    s.LineTo(12, 10);
    for (int x = 4; x <= 12; ++x) {
        EXPECT_EQ(Px(s, x, 9), Rgb(0x0000FF)) << x;
        EXPECT_EQ(Px(s, x, 10), Rgb(0x0000FF)) << x;
    }
    ExpectPixels(s, {{3, 10, 0xFFFFFF}, {13, 10, 0xFFFFFF}, {8, 11, 0xFFFFFF}, {8, 8, 0xFFFFFF}});
    // A step of no length (the trailing zero steps of a path) draws nothing.
    s.MoveTo(3, 3);
    s.LineTo(3, 3);
    ExpectPixels(s, {{2, 2, 0xFFFFFF}, {3, 3, 0xFFFFFF}});
}

TEST(GdiSurface, FillLeavesItsColourAsBackgroundOfOpaqueText) {
    GdiSurface s(60, 30);
    s.FillSolidRect({0, 0, 60, 30}, 0x00FF00);
    EXPECT_EQ(s.BkColor(), 0x00FF00u);
    s.FillSolidRect({0, 0, 60, 30}, kButtonFaceColour);
    const GdiFont font(FontSpec{u"Tahoma", 13, 700});
    s.SelectFont(&font);
    s.DrawText(u"W", {5, 5, 60, 30}, DT_SINGLELINE);
    // The whole cell is button face or black: opaque and not antialiased.
    std::set<QRgb> colours;
    for (int y = 5; y < 5 + font.CellHeight(); ++y)
        for (int x = 5; x < 5 + font.Width(u"W"); ++x) colours.insert(Px(s, x, y));
    EXPECT_EQ(colours, (std::set<QRgb>{Rgb(kButtonFaceColour), 0u}));
    // Transparent text leaves the surface around its letters alone.
    GdiSurface t(60, 30);
    t.FillSolidRect({0, 0, 60, 30}, 0x00FF00);
    t.SetBkColor(0xFFFFFF);
    t.SetBkMode(BkMode::Transparent);
    t.SetTextColor(0x0000FF);
    t.DrawText(u"W", {5, 5, 60, 30}, DT_SINGLELINE);
    colours.clear();
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) colours.insert(Px(t, x, y));
    EXPECT_EQ(colours, (std::set<QRgb>{Rgb(0x00FF00), Rgb(0x0000FF)}));
}

TEST(GdiFont, CellHeightsHoldTheirLines) {
    const GdiFont name(FontSpec{u"", 11, 0});
    EXPECT_EQ(name.CellHeight(), 11);
    EXPECT_EQ(name.LineHeight(), 11);
    EXPECT_LE(QFontMetrics(name.Font()).height(), 11);
    const GdiFont title(FontSpec{u"Times New Roman Bold Italic", 34, 700});
    EXPECT_TRUE(title.Font().bold());
    EXPECT_TRUE(title.Font().italic());
    EXPECT_LE(QFontMetrics(title.Font()).height(), 34);
    EXPECT_GT(QFontMetrics(title.Font()).height(), 24);
    const GdiFont fixed(FontSpec{u"굴림체", 12, 400});
    EXPECT_EQ(fixed.Width(u"ab가"), 24);
    EXPECT_EQ(fixed.GridWidth(), 6);
}

}  // namespace
