// The tree window over the program's own tables and bitmaps.
#include "data/description_loader.h"
#include "data/lookups.h"
#include "persistence/build_state.h"
#include "platform/qt/gdi_surface.h"
#include "shell/options.h"
#include "shell/qt/select_job_dlg.h"
#include "shell/qt/shell_test_support.h"
#include "shell/qt/tolvemar_dlg.h"
#include "skilltree/qt/skill_memo_dlg.h"
#include "skilltree/qt/skill_tree_dlg.h"
#include "skilltree/qt/tree_bitmaps.h"
#include "skilltree/tree_geometry.h"
#include "support/deepest_node.h"

#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

QRgb Rgb(uint32_t colour) { return RgbOfColourRef(colour) | 0xFF000000u; }

class RealTree : public ::testing::Test {
protected:
    void SetUp() override {
        ResetBuildState();
        g_Options = AppOptions{};
        g_Options.Language = 0;
        SetTreeBitmapSource({});
    }
    void TearDown() override { ResetBuildState(); }

    // Opens the job at a grade and hovers its visible node with the most
    // marked prerequisites; returns that node (-1 when the tree is empty).
    static int OpenAndHoverDeepest(CSkillTreeDlg& dlg, int job, int grade) {
        SetSlotGrade(job, g_nSelectedSlot[job], grade);
        dlg.OpenJob(job);
        const int best = DeepestNode(dlg.Rules());
        if (best > 0) {
            const SkillTreeNode& n = dlg.Rules().m_pNodes[best];
            const QPoint at(kTreeOriginX + IconLeft(n.column) + 4, kTreeOriginY + IconTop(n.row) + 4);
            QTest::mouseMove(&dlg, at + QPoint(1, 1));
            QTest::mouseMove(&dlg, at);
        }
        return best;
    }
};

TEST_F(RealTree, JobThreeAtGradeThreeDrawsItsPagesHeaderAndHoverPaths) {
    CSkillTreeDlg dlg;
    const int hovered = OpenAndHoverDeepest(dlg, 3, 3);
    ASSERT_GE(hovered, 0) << "no tree content";
    ASSERT_EQ(dlg.Rules().m_nHoverNode, hovered);
    const QImage image = dlg.RenderClient();
    const PageRect page0 = dlg.Rules().m_pPages[0].rect;
    // Page 0's frame lines, in client coordinates.
    const int midX = kTreeOriginX + (page0.left + page0.right) / 2;
    EXPECT_EQ(image.pixel(midX, kTreeOriginY + page0.bottom + 6) | 0xFF000000u, Rgb(0x7F7F7F));
    EXPECT_EQ(image.pixel(midX, kTreeOriginY + page0.bottom + 4) | 0xFF000000u, Rgb(0xFFFFFF));
    // The hover ring, left of the hovered icon.
    const SkillTreeNode& n = dlg.Rules().m_pNodes[hovered];
    const int ringX = kTreeOriginX + 64 * n.column + 31;
    const int ringY = kTreeOriginY + 64 * n.row + 45;
    EXPECT_EQ(image.pixel(ringX, ringY) | 0xFF000000u, Rgb(0x0000FF));
    // Some red connector and an arrowhead's dark red appear in the tree layer.
    int red = 0, darkRed = 0;
    for (int y = kTreeOriginY; y < image.height(); ++y)
        for (int x = kTreeOriginX; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y) | 0xFF000000u;
            red += p == Rgb(0x0000FF);
            darkRed += p == Rgb(0x0000C8);
        }
    EXPECT_GT(red, 200);
    EXPECT_GT(darkRed, 0);
    // Header: a portrait pixel that is neither the button face nor white.
    bool portrait = false;
    for (int y = 30; y < 120 && !portrait; ++y)
        for (int x = 25; x < 75 && !portrait; ++x) {
            const QRgb p = image.pixel(x, y) | 0xFF000000u;
            portrait = p != Rgb(kButtonFaceColour) && p != Rgb(0xFFFFFF);
        }
    EXPECT_TRUE(portrait);
}

TEST_F(RealTree, MissingJobDrawsTheFallbackPortraitCutByTheHeaderFills) {
    CSkillTreeDlg dlg;
    dlg.resize(400, 300);
    const QImage image = dlg.RenderClient();
    const QImage fallback = TreeBitmap(kFallbackPortrait);
    ASSERT_FALSE(fallback.isNull()) << "no bitmaps";
    // Left of x = 90 the portrait shows where it is not white.
    int shown = 0;
    for (int y = 20; y < 20 + fallback.height(); ++y)
        for (int x = 20; x < 90; ++x)
            if ((fallback.pixel(x - 20, y - 20) & 0xFFFFFF) != 0xFFFFFF)
                shown += (image.pixel(x, y) | 0xFF000000u) == (fallback.pixel(x - 20, y - 20) | 0xFF000000u);
    EXPECT_GT(shown, 100);
    // The title's fill covers the portrait from x = 90.
    EXPECT_EQ(image.pixel(100, 30) | 0xFF000000u, Rgb(kButtonFaceColour));
}

// Screenshots as a user sees them: the main window showing a tree with a
// hovered skill, its red paths and the description popup beside it. Written
// only when TOLVEMAR_SCREENSHOT_DIR names a folder.
TEST_F(RealTree, Screenshots) {
    const char* dir = std::getenv("TOLVEMAR_SCREENSHOT_DIR");
    if (!dir) GTEST_SKIP() << "TOLVEMAR_SCREENSHOT_DIR not set";
    const struct { int job, grade; } shots[] = {{3, 3}, {0, 1}, {16, 3}, {12, 2}};
    for (const auto& shot : shots) {
        ShellTestEnvironment env;
        env.profile.WriteProfileInt(u"Option", u"Language", 0);
        env.profile.WriteProfileInt(u"Option", u"AutoUpdate", 0);
        CTolvemarDlg main;
        main.OnInitDialog();
        LoadSkillDescriptions();
        main.move(0, 0);
        main.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
        CSkillTreeDlg& tree = *main.m_pSkillTreeDlg;
        main.m_pSelectJobDlg->hide();
        if (OpenAndHoverDeepest(tree, shot.job, shot.grade) < 0) continue;
        // The window and the popup as they lie on the screen.
        const QImage window = main.grab().toImage();
        CSkillMemoDlg* memo = tree.MemoDlg();
        const QPoint origin = main.mapToGlobal(QPoint(0, 0));
        QRect area(origin, window.size());
        if (memo->isVisible()) area |= memo->geometry();
        QImage picture(area.size(), QImage::Format_RGB32);
        picture.fill(QColor(0x30, 0x40, 0x50));
        QPainter p(&picture);
        p.drawImage(origin - area.topLeft(), window);
        if (memo->isVisible()) p.drawImage(memo->pos() - area.topLeft(), memo->grab().toImage());
        p.end();
        picture.save(QStringLiteral("%1/tree-job%2-grade%3.png")
                         .arg(QString::fromUtf8(dir))
                         .arg(shot.job)
                         .arg(shot.grade));
    }
}

}  // namespace
