#include "skilltree/tree_geometry.h"
#include "skilltree/memo_text.h"
#include "skilltree/skill_tree_rules.h"

#include <gtest/gtest.h>

namespace {

SkillTreeNode NodeAt(int column, int row) {
    SkillTreeNode node{};
    node.skill = 1;
    node.column = column;
    node.row = row;
    return node;
}

PrerequisiteEntry EntryWith(int sx, int sy, std::initializer_list<int> steps) {
    PrerequisiteEntry e{};
    e.skill = 2;
    e.startX = sx;
    e.startY = sy;
    int i = 0;
    for (int s : steps) e.path[i++] = s;
    return e;
}

TEST(LevelNumber, FirstMatchingRowDecides) {
    SkillTreeNode node{};
    node.level[1] = 2;
    // Hovered with levels missing anywhere: "-D" in red.
    EXPECT_EQ(ChooseLevelNumber(node, 1, true, 7), (LevelNumber{u"-7", kColourRed}));
    // Hovered with nothing missing: its own level in black.
    EXPECT_EQ(ChooseLevelNumber(node, 1, true, 0), (LevelNumber{u"2", kColourBlack}));
    // A prerequisite needed above its level: the needed level in red.
    node.previewLevel = 3;
    EXPECT_EQ(ChooseLevelNumber(node, 1, false, 1), (LevelNumber{u"3", kColourRed}));
    // Needed and met: the needed level in blue, not its own.
    node.level[1] = 5;
    EXPECT_EQ(ChooseLevelNumber(node, 1, false, 0), (LevelNumber{u"3", kColourBlue}));
    // Not needed: own level in black, nothing at level 0; other slots apart.
    node.previewLevel = 0;
    EXPECT_EQ(ChooseLevelNumber(node, 1, false, 0), (LevelNumber{u"5", kColourBlack}));
    EXPECT_EQ(ChooseLevelNumber(node, 0, false, 0), (LevelNumber{u"", kColourBlack}));
    EXPECT_EQ(ChooseLevelNumber(node, 9, false, 0).text, u"");
}

TEST(Connectors, StepsAlternateAndStopAtTheEndMarker) {
    const SkillTreeNode node = NodeAt(2, 1);  // icon at (161, 99)
    const PrerequisiteEntry e = EntryWith(12, 24, {0, 20, -30, kPathEnd, 99, 99});
    std::vector<std::pair<TreePoint, TreePoint>> segments;
    ForEachConnectorSegment(node, e, [&](TreePoint a, TreePoint b) { segments.push_back({a, b}); });
    ASSERT_EQ(segments.size(), 3u);
    EXPECT_EQ(segments[0].first, (TreePoint{173, 123}));
    EXPECT_EQ(segments[0].second, (TreePoint{173, 123}));  // a zero x step
    EXPECT_EQ(segments[1].second, (TreePoint{173, 143}));
    EXPECT_EQ(segments[2].second, (TreePoint{143, 143}));
    // Without an end marker all nine steps are taken.
    int count = 0;
    ForEachConnectorSegment(node, EntryWith(0, 0, {1, 1, 1, 1, 1, 1, 1, 1, 1}),
                            [&](TreePoint, TreePoint) { ++count; });
    EXPECT_EQ(count, kPathSteps);
}

TEST(Connectors, ArrowheadFollowsTheFirstStep) {
    const SkillTreeNode node = NodeAt(1, 0);  // icon at (97, 35)
    EXPECT_EQ(ChooseArrowhead(node, EntryWith(0, 12, {-10}), 1), (ArrowheadPlace{0, 91, 44}));
    EXPECT_EQ(ChooseArrowhead(node, EntryWith(24, 12, {10}), 1), (ArrowheadPlace{1, 121, 44}));
    EXPECT_EQ(ChooseArrowhead(node, EntryWith(12, 0, {0, -10}), 1), (ArrowheadPlace{3, 106, 29}));
    // Downwards it sits below the name: 11 pixels per line.
    EXPECT_EQ(ChooseArrowhead(node, EntryWith(12, 24, {0, 10}), 1), (ArrowheadPlace{2, 106, 72}));
    EXPECT_EQ(ChooseArrowhead(node, EntryWith(12, 24, {0, 10}), 3).y, 59 + 2 + 33);
    EXPECT_EQ(ChooseArrowhead(node, EntryWith(12, 24, {0, 0, 5}), 1).index, -1);
    EXPECT_EQ(NameLineCount(u"Fire\nBall\nThree"), 3);
    EXPECT_EQ(NameLineCount(u""), 1);
    EXPECT_EQ(NameLineCount(nullptr), 1);
}

TEST(Connectors, RedOnlyWhereThePrerequisiteIsNotNeededHigher) {
    SkillTreeNode nodes[kNodeCount]{};
    nodes[1].skill = 10;
    nodes[2].skill = 20;
    PrerequisiteEntry e{};
    e.skill = 10;
    e.requiredLevel = 3;
    nodes[1].previewLevel = 3;
    EXPECT_TRUE(IsConnectorHighlighted(nodes, e));
    nodes[1].previewLevel = 5;  // another marked skill needs it at 5
    EXPECT_FALSE(IsConnectorHighlighted(nodes, e));
    e.skill = 99;  // not in the tree: node 0 stands in
    EXPECT_TRUE(IsConnectorHighlighted(nodes, e));
    nodes[0].previewLevel = 4;
    EXPECT_FALSE(IsConnectorHighlighted(nodes, e));
    EXPECT_FALSE(IsConnectorHighlighted(nullptr, e));
}

TEST(TreeLayout, SizesAndPlaces) {
    EXPECT_EQ(TreeWindowSize({0, 0, 852, 424}), (OuterSize{902, 609}));
    EXPECT_EQ(TreeWindowSize({}), (OuterSize{50, 185}));
    // Close 70 px wide in a 902-pixel main window.
    EXPECT_EQ(TreeControlPlace(IDC_SKILLTREE_CLOSE, 902, 86), (TreePoint{786, 20}));
    EXPECT_EQ(TreeControlPlace(IDC_SKILLTREE_RESET, 902, 86), (TreePoint{786, 50}));
    EXPECT_EQ(TreeControlPlace(IDC_SKILLTREE_NEXT_GRADE, 902, 37), (TreePoint{835, 80}));
    EXPECT_EQ(TreeControlPlace(IDC_SKILLTREE_PREV_GRADE, 902, 37), (TreePoint{788, 80}));
    EXPECT_EQ(TreeControlPlace(IDC_SKILLTREE_SLOT1, 902, 23), (TreePoint{789, 110}));
    EXPECT_EQ(TreeControlPlace(IDC_SKILLTREE_SLOT2, 902, 23), (TreePoint{819, 110}));
    EXPECT_EQ(TreeControlPlace(IDC_SKILLTREE_SLOT3, 902, 23), (TreePoint{849, 110}));
    EXPECT_EQ(TreeControlPlace(4711, 902, 23), (TreePoint{0, 0}));
}

TEST(MemoText, WrapsAfterTheBlankAtColumn49) {
    std::u16string text = std::u16string(49, u'a') + u" rest";
    WrapMemoText(text);
    EXPECT_EQ(text, std::u16string(49, u'a') + u" \nrest");
    text = std::u16string(48, u'a') + u" rest";
    WrapMemoText(text);
    EXPECT_EQ(text.find(u'\n'), std::u16string::npos);
    // 25 Hangul syllables are 50 columns.
    text = std::u16string(25, u'가') + u" 나";
    WrapMemoText(text);
    EXPECT_EQ(text, std::u16string(25, u'가') + u" \n나");
    // No second break where one already follows; none without blanks.
    text = std::u16string(50, u'b') + u" \nx";
    WrapMemoText(text);
    EXPECT_EQ(text, std::u16string(50, u'b') + u" \nx");
    text = std::u16string(200, u'c');
    WrapMemoText(text);
    EXPECT_EQ(text, std::u16string(200, u'c'));
    // Columns count again after each break.
    text = std::u16string(30, u'a') + u"\n" + std::u16string(30, u'a') + u" b";
    WrapMemoText(text);
    EXPECT_EQ(text.find(u'\n', 31), std::u16string::npos);
}

TEST(MemoText, LinesColumnsAndSize) {
    const std::u16string text = std::u16string(40, u'x') + u"\n" + std::u16string(10, u'가') + u"\nend";
    EXPECT_EQ(CountMemoLines(text), 3);
    EXPECT_EQ(MaxLineColumns(text), 40);
    EXPECT_EQ(MemoPopupSize(3, 40), (MemoSize{248, 44}));
    EXPECT_EQ(CountMemoLines(u"one\n"), 1);
    EXPECT_EQ(CountMemoLines(u"one\n\ntwo"), 3);
    EXPECT_EQ(MaxLineColumns(u""), 0);
    EXPECT_EQ(MaxLineColumns(u"가나다\nab"), 6);
}

}  // namespace
