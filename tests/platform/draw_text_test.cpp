#include "platform/draw_text.h"

#include <gtest/gtest.h>

namespace {

// Every character is 5 pixels wide; lines are 10 apart.
class FakeMeasurer final : public TextMeasurer {
public:
    int Width(std::u16string_view text) const override { return 5 * static_cast<int>(text.size()); }
    int LineHeight() const override { return 10; }
};

std::vector<std::u16string> Texts(const std::vector<TextLine>& lines) {
    std::vector<std::u16string> out;
    for (const TextLine& l : lines) out.push_back(l.text);
    return out;
}

TEST(DrawTextLayout, SingleLineAlignsHorizontallyAndToTheBottom) {
    const FakeMeasurer m;
    const TextRect rect{0, 0, 24, 24};
    auto lines = LayoutDrawText(u"12", rect, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, m);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], (TextLine{u"12", 14, 14, 10}));
    // Offsets move the whole cell, also past the rectangle's edges.
    lines = LayoutDrawText(u"12", {2, 2, 26, 26}, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, m);
    EXPECT_EQ(lines[0].x, 16);
    EXPECT_EQ(lines[0].y, 16);
    // Left and top by default; a line break stays a character of the line.
    lines = LayoutDrawText(u"a\nb", {8, 3, 100, 30}, DT_SINGLELINE, m);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], (TextLine{u"a\nb", 8, 3, 15}));
    lines = LayoutDrawText(u"abcd", {0, 0, 30, 30}, DT_CENTER | DT_VCENTER | DT_SINGLELINE, m);
    EXPECT_EQ(lines[0].x, 5);
    EXPECT_EQ(lines[0].y, 10);
}

TEST(DrawTextLayout, WordBreakWrapsAtBlanksAndCentresEachLine) {
    const FakeMeasurer m;
    // 72 pixels hold 14 characters.
    const TextRect rect{9, 61, 81, 101};
    auto lines = LayoutDrawText(u"Ice Arrow of the North", rect, DT_CENTER | DT_WORDBREAK, m);
    EXPECT_EQ(Texts(lines), (std::vector<std::u16string>{u"Ice Arrow of", u"the North"}));
    EXPECT_EQ(lines[0], (TextLine{u"Ice Arrow of", 9 + (72 - 60) / 2, 61, 60}));
    EXPECT_EQ(lines[1].y, 71);
    EXPECT_EQ(lines[1].x, 9 + (72 - 45) / 2);
    // A word wider than the rectangle keeps its own line, uncut and centred
    // to the left of the rectangle.
    lines = LayoutDrawText(u"ab Extraordinarily cd", {0, 0, 40, 40}, DT_CENTER | DT_WORDBREAK, m);
    EXPECT_EQ(Texts(lines), (std::vector<std::u16string>{u"ab", u"Extraordinarily", u"cd"}));
    EXPECT_EQ(lines[1].x, (40 - 75) / 2);
}

TEST(DrawTextLayout, LineBreaksStartNewLinesAndTrailingBreakAddsNone) {
    const FakeMeasurer m;
    auto lines = LayoutDrawText(u"Fire\nBall", {0, 0, 200, 100}, DT_CENTER | DT_WORDBREAK, m);
    EXPECT_EQ(Texts(lines), (std::vector<std::u16string>{u"Fire", u"Ball"}));
    lines = LayoutDrawText(u"a\r\n\nb\n", {0, 0, 200, 100}, DT_LEFT | DT_WORDBREAK, m);
    EXPECT_EQ(Texts(lines), (std::vector<std::u16string>{u"a", u"", u"b"}));
    EXPECT_EQ(lines[2].y, 20);
    // Without word break a long line is not wrapped.
    lines = LayoutDrawText(u"one two three", {0, 0, 10, 10}, DT_LEFT, m);
    EXPECT_EQ(Texts(lines), (std::vector<std::u16string>{u"one two three"}));
    EXPECT_TRUE(LayoutDrawText(u"", {0, 0, 10, 10}, DT_WORDBREAK, m)[0].text.empty());
}

TEST(DrawTextLayout, GridMeasurerCountsWideCharactersTwice) {
    const GridMeasurer grid(6, 12);
    EXPECT_EQ(grid.Width(u"ab"), 12);
    EXPECT_EQ(grid.Width(u"가a"), 18);
    EXPECT_EQ(TextColumns(u"\u00e9"), 2);
}

}  // namespace
