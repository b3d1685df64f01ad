#include "skilltree/qt/skill_memo_dlg.h"

#include "skilltree/qt/tree_fixture.h"

#include "data/tables.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace {

class MemoPopup : public ::testing::Test {
protected:
    static constexpr int kSkill = 7;
    void SetUp() override { Set(u""); }
    void TearDown() override { Set(u""); }
    static void Set(const char16_t* text) { tree_test::SetDescription(kSkill, text); }
};

TEST_F(MemoPopup, WrapsSizesAndKeepsItsPlace) {
    CSkillMemoDlg memo;
    memo.move(100, 50);
    Set((std::u16string(49, u'a') + u" tail").c_str());
    ASSERT_TRUE(memo.SetSkill(kSkill));
    EXPECT_EQ(memo.Text(), std::u16string(49, u'a') + u" \ntail");
    EXPECT_EQ(memo.size(), QSize(6 * 50 + 8, 12 * 2 + 8));
    EXPECT_EQ(memo.pos(), QPoint(100, 50));
    auto* label = GetDlgItemAs<QLabel>(&memo, IDC_SKILLMEMO_TEXT);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text().toStdU16String(), memo.Text());
    EXPECT_EQ(label->geometry(), QRect(4, 4, 476, 352));
    memo.MoveTo(200, 70);
    EXPECT_EQ(memo.pos(), QPoint(202, 70));
    // An empty description (or a skill index outside the table) changes nothing.
    Set(u"");
    EXPECT_FALSE(memo.SetSkill(kSkill));
    EXPECT_FALSE(memo.SetSkill(-5));
    EXPECT_FALSE(memo.SetSkill(100000));
    EXPECT_EQ(memo.size(), QSize(308, 32));
    EXPECT_EQ(memo.pos(), QPoint(202, 70));
    EXPECT_EQ(label->text().toStdU16String(), std::u16string(49, u'a') + u" \ntail");
}

TEST_F(MemoPopup, DrawsBlackTextOnWhiteOnAFixedGrid) {
    CSkillMemoDlg memo;
    Set(u"가 Hit");
    ASSERT_TRUE(memo.SetSkill(kSkill));
    EXPECT_EQ(memo.size(), QSize(6 * 6 + 8, 20));
    memo.show();
    const QImage image = memo.grab().toImage();
    bool ink = false;
    for (int y = 4; y < 16; ++y)
        for (int x = 4; x < 40; ++x) ink = ink || (image.pixel(x, y) & 0xFFFFFF) == 0;
    EXPECT_TRUE(ink);
    EXPECT_EQ(image.pixel(1, 1) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(memo.width() - 2, memo.height() - 2) & 0xFFFFFF, 0xFFFFFFu);
    // Nothing but black and white.
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y) & 0xFFFFFF;
            ASSERT_TRUE(p == 0 || p == 0xFFFFFF) << x << "," << y;
        }
}

}  // namespace
