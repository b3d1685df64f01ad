#include "skilltree/qt/tree_fixture.h"

#include "data/lookups.h"
#include "platform/message_box.h"
#include "skilltree/qt/skill_memo_dlg.h"
#include "skilltree/tree_geometry.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace tree_test;

class TreeWindow : public TreeDlgTest {
protected:
    void SetUp() override {
        SetMessageBoxHandler([this](const MessageBoxRequest& r) {
            boxes.push_back(r);
            return MbResult::Ok;
        });
        for (int s = 1; s <= 5; ++s) SetDescription(s, u"");
        TreeDlgTest::SetUp();
    }
    void TearDown() override {
        for (int s = 1; s <= 5; ++s) SetDescription(s, u"");
        SetMessageBoxHandler({});
        TreeDlgTest::TearDown();
        g_Options = AppOptions{};
    }
    static QPoint IconPoint(const SkillTreeNode& n, int dx = 5, int dy = 5) {
        return {kTreeOriginX + IconLeft(n.column) + dx, kTreeOriginY + IconTop(n.row) + dy};
    }
    // Two moves inside the icon: the platform drops a move to where the
    // cursor already is, which an earlier test may have left there.
    void Hover(int node) {
        QTest::mouseMove(&dlg, IconPoint(tree.nodes[node], 6, 6));
        QTest::mouseMove(&dlg, IconPoint(tree.nodes[node]));
    }
    void MoveOff() {
        QTest::mouseMove(&dlg, QPoint(6, 301));
        QTest::mouseMove(&dlg, QPoint(5, 300));
    }
    void Wheel(int delta) {
        const QPoint at = IconPoint(tree.nodes[1]);
        QWheelEvent event(at, dlg.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&dlg, &event);
    }
    int Level(int node) const { return tree.nodes[node].level[0]; }
    QPushButton* Button(int id) { return GetDlgItemAs<QPushButton>(&dlg, id); }

    std::vector<MessageBoxRequest> boxes;
};

TEST_F(TreeWindow, HoverShowsThePreviewAndTheKoreanPopupBesideTheIcon) {
    SetDescription(3, u"첫째 줄\n둘째");
    dlg.move(10, 10);
    Hover(3);
    EXPECT_EQ(dlg.Rules().m_nHoverNode, 3);
    EXPECT_EQ(tree.nodes[2].previewLevel, 2);
    EXPECT_EQ(tree.nodes[1].previewLevel, 3);
    EXPECT_EQ(dlg.cursor().shape(), Qt::BlankCursor);
    CSkillMemoDlg* memo = dlg.MemoDlg();
    ASSERT_TRUE(memo->isVisible());
    EXPECT_TRUE(memo->windowFlags().testFlag(Qt::ToolTip));
    EXPECT_EQ(memo->Text(), u"첫째 줄\n둘째");
    EXPECT_EQ(memo->size(), QSize(6 * 7 + 8, 12 * 2 + 8));
    const QPoint icon = dlg.mapToGlobal(IconPoint(tree.nodes[3], 0, 0));
    EXPECT_EQ(memo->pos(), QPoint(icon.x() + 31, icon.y()));

    // Straight onto another icon: the first popup stays as it is.
    SetDescription(2, u"Beta text");
    Hover(2);
    EXPECT_EQ(memo->Text(), u"첫째 줄\n둘째");
    // Off every icon: hidden, arrow cursor, preview cleared.
    MoveOff();
    EXPECT_FALSE(memo->isVisible());
    EXPECT_EQ(dlg.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(tree.nodes[1].previewLevel, 0);
    // The mouse on the popup hides it.
    Hover(3);
    ASSERT_TRUE(memo->isVisible());
    QTest::mouseMove(memo, QPoint(3, 3));
    EXPECT_FALSE(memo->isVisible());
}

TEST_F(TreeWindow, PopupOnlyForKoreanWithSkillInfoAndADescription) {
    SetDescription(1, u"desc");
    g_Options.Language = 1;
    Hover(1);
    EXPECT_FALSE(dlg.MemoDlg()->isVisible());
    EXPECT_EQ(tree.nodes[1].previewLevel, 0);
    Hover(2);
    EXPECT_EQ(tree.nodes[1].previewLevel, 3);  // preview all the same
    MoveOff();
    g_Options.Language = 0;
    g_Options.SkillInfo = 0;
    Hover(1);
    EXPECT_FALSE(dlg.MemoDlg()->isVisible());
    MoveOff();
    g_Options.SkillInfo = 1;
    Hover(2);  // no description
    EXPECT_FALSE(dlg.MemoDlg()->isVisible());
}

TEST_F(TreeWindow, PopupNearTheRightScreenEdgeGoesLeftOfTheIcon) {
    SetDescription(1, u"0123456789");
    const int screenWidth = QGuiApplication::primaryScreen()->geometry().width();
    dlg.move(screenWidth - 80, 0);
    Hover(1);
    CSkillMemoDlg* memo = dlg.MemoDlg();
    ASSERT_TRUE(memo->isVisible());
    const QPoint icon = dlg.mapToGlobal(IconPoint(tree.nodes[1], 0, 0));
    EXPECT_EQ(memo->width(), 68);
    EXPECT_EQ(memo->x() + memo->width(), icon.x() - 3);
    EXPECT_EQ(memo->y(), icon.y());
}

TEST_F(TreeWindow, ClicksAndWheelRaiseAndLowerTheHoveredSkill) {
    QTest::mouseClick(&dlg, Qt::LeftButton, Qt::NoModifier, QPoint(5, 300));
    EXPECT_EQ(Level(1), 0);
    EXPECT_FALSE(g_bModified);
    Hover(1);
    QTest::mouseClick(&dlg, Qt::LeftButton, Qt::NoModifier, IconPoint(tree.nodes[1]));
    EXPECT_EQ(Level(1), 1);
    EXPECT_TRUE(g_bModified);
    Wheel(120);
    Wheel(360);  // several notches are still one level
    EXPECT_EQ(Level(1), 3);
    Wheel(0);
    EXPECT_EQ(Level(1), 3);
    Wheel(-120);
    EXPECT_EQ(Level(1), 2);
    QTest::mouseClick(&dlg, Qt::RightButton, Qt::NoModifier, IconPoint(tree.nodes[1]));
    EXPECT_EQ(Level(1), 1);
    // The header's points follow.
    EXPECT_EQ(dlg.Rules().HeaderUsedPoints(), 1);
    // The click acts on the last hovered node, not where it happens.
    QTest::mouseClick(&dlg, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(Level(1), 2);
}

TEST_F(TreeWindow, CloseHidesTreeAndPopupAndAsksForTheChooser) {
    SetDescription(1, u"desc");
    dlg.show();
    Hover(1);
    EXPECT_EQ(dlg.Rules().m_nHoverNode, 1);
    ASSERT_TRUE(dlg.MemoDlg()->isVisible());
    QSignalSpy closed(&dlg, &CSkillTreeDlg::CloseRequested);
    // Close has the focus; Enter and Escape do nothing.
    QPushButton* close = Button(IDC_SKILLTREE_CLOSE);
    ASSERT_NE(close, nullptr);
    close->setFocus();
    QTest::keyClick(close, Qt::Key_Return);
    QTest::keyClick(close, Qt::Key_Escape);
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_EQ(closed.count(), 0);
    EXPECT_TRUE(dlg.isVisible());
    // Space presses it from the keyboard: the popup goes too.
    QTest::keyClick(close, Qt::Key_Space);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(dlg.MemoDlg()->isVisible());
    EXPECT_EQ(dlg.Rules().m_nHoverNode, 1);  // the tree keeps its hover
    // Reopened, the window has forgotten the node: the arrow comes back.
    dlg.Rules().OpenJobRecord(tree.job);
    EXPECT_EQ(dlg.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(TreeWindow, LayoutSizesPlacesEnablesAndChecks) {
    QSignalSpy sized(&dlg, &CSkillTreeDlg::OuterSizeChanged);
    g_nSelectedSlot[kJob] = 1;
    tree.nodes[0].level[1] = 1;
    dlg.Rules().OpenJobRecord(tree.job);
    ASSERT_GE(sized.count(), 1);
    EXPECT_EQ(sized.last().at(0).toSize(), QSize(468 + 50, 424 + 185));
    EXPECT_EQ(dlg.size(), QSize(518, 609));
    EXPECT_TRUE(dlg.isVisible());
    QPushButton* close = Button(IDC_SKILLTREE_CLOSE);
    EXPECT_EQ(close->pos(), QPoint(518 - close->width() - 30, 20));
    EXPECT_EQ(close->text(), QString::fromStdU16String(GetLocalizedText(7)));
    QPushButton* prev = Button(IDC_SKILLTREE_PREV_GRADE);
    EXPECT_EQ(prev->pos(), QPoint(518 - 2 * prev->width() - 40, 80));
    EXPECT_EQ(Button(IDC_SKILLTREE_SLOT3)->pos(),
              QPoint(518 - 2 * Button(IDC_SKILLTREE_SLOT3)->width() - 7, 110));
    // Grade 1 of 0..1: "<<" on, ">>" off; slot 2 alone checked.
    EXPECT_TRUE(prev->isEnabled());
    EXPECT_FALSE(Button(IDC_SKILLTREE_NEXT_GRADE)->isEnabled());
    EXPECT_FALSE(Button(IDC_SKILLTREE_SLOT1)->isChecked());
    EXPECT_TRUE(Button(IDC_SKILLTREE_SLOT2)->isChecked());
    EXPECT_FALSE(Button(IDC_SKILLTREE_SLOT3)->isChecked());
    EXPECT_EQ(dlg.focusWidget(), close);
    // "<<" lays the window out for grade 0.
    QTest::mouseClick(prev, Qt::LeftButton);
    EXPECT_EQ(sized.last().at(0).toSize(), QSize(212 + 50, 609));
    EXPECT_FALSE(prev->isEnabled());
    EXPECT_TRUE(Button(IDC_SKILLTREE_NEXT_GRADE)->isEnabled());
    // A slot button checks itself alone.
    QTest::mouseClick(Button(IDC_SKILLTREE_SLOT3), Qt::LeftButton);
    EXPECT_EQ(g_nSelectedSlot[kJob], 2);
    EXPECT_TRUE(Button(IDC_SKILLTREE_SLOT3)->isChecked());
    EXPECT_FALSE(Button(IDC_SKILLTREE_SLOT2)->isChecked());
}

TEST_F(TreeWindow, JobsFourteenFifteenAndEighteenNeverChangeGrade) {
    for (int job : {14, 15, 18}) {
        tree.job.id = job;
        tree.job.maxGrade = 3;
        tree.nodes[0].level[0] = 1;
        dlg.Rules().OpenJobRecord(tree.job);
        EXPECT_FALSE(Button(IDC_SKILLTREE_PREV_GRADE)->isEnabled()) << job;
        EXPECT_FALSE(Button(IDC_SKILLTREE_NEXT_GRADE)->isEnabled()) << job;
    }
}

TEST(TreeWindowUnbound, DrawsAndTakesTheMouseWithoutAJob) {
    ResetState();
    CSkillTreeDlg dlg;
    dlg.resize(300, 300);
    const QImage image = dlg.RenderClient();
    EXPECT_EQ(image.size(), QSize(300, 300));
    EXPECT_EQ(image.pixel(150, 250) | 0xFF000000u, Rgb(kButtonFaceColour));
    QTest::mouseMove(&dlg, QPoint(60, 175));
    QTest::mouseClick(&dlg, Qt::LeftButton, Qt::NoModifier, QPoint(60, 175));
    EXPECT_EQ(dlg.Rules().m_nHoverNode, -1);
    dlg.LayoutForGrade(0);
    EXPECT_EQ(dlg.size(), QSize(50, 185));
    SetTreeBitmapSource({});
}

}  // namespace
