// The whole program offscreen: the real main window, chooser, tree window,
// store flows and an INI profile in a temporary folder.
#include "data/lookups.h"
#include "persistence/build_state.h"
#include "platform/qt/ini_profile_store.h"
#include "shell/qt/select_job_dlg.h"
#include "shell/qt/shell_test_support.h"
#include "shell/qt/tolvemar_dlg.h"
#include "skilltree/qt/skill_tree_dlg.h"
#include "skilltree/tree_geometry.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

constexpr int kJob = 0;

class EndToEnd : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        std::copy(std::begin(g_SkillTreeBlocks), std::end(g_SkillTreeBlocks), saved.get());
        oldFolder = QDir::currentPath();
        QDir::setCurrent(folder.path());
        // The real services, with the doubles only for screen, boxes and dialogs.
        SetShellServices(nullptr);
        env.boxAnswer = MbResult::Cancel;
        env.drive = [](QDialog& dialog) {
            ADD_FAILURE() << "unexpected dialog " << dialog.metaObject()->className();
        };
        IniProfileStore profile(ProfileFile());
        profile.WriteProfileInt(u"Option", u"Language", 1);
        profile.WriteProfileInt(u"Option", u"AutoUpdate", 0);
        profile.WriteProfileInt(u"Option", u"SaveToFile", GetParam() ? 1 : 0);
    }
    void TearDown() override {
        std::copy(saved.get(), saved.get() + kJobCount, std::begin(g_SkillTreeBlocks));
        QDir::setCurrent(oldFolder);
        SetProfileStore(nullptr);
    }

    QString ProfileFile() const { return QDir(folder.path()).filePath(QStringLiteral("Tolvemar.ini")); }

    // The first node of the job's first page without prerequisites that can
    // take at least three levels.
    static int RaisableNode() {
        const SkillTreeNode* nodes = g_SkillTreeBlocks[kJob].nodes;
        for (int n = 1; n < kNodeCount && nodes[n].skill != 0; ++n) {
            if (nodes[n].page == 0 && nodes[n].prereq[0].skill == 0 && SkillAt(nodes[n].skill).maxLevel >= 3)
                return n;
        }
        return -1;
    }

    static QPoint IconPoint(int node) {
        const SkillTreeNode& n = g_SkillTreeBlocks[kJob].nodes[node];
        return {kTreeOriginX + IconLeft(n.column) + 8, kTreeOriginY + IconTop(n.row) + 8};
    }

    static int32_t Level(int node) {
        return g_SkillTreeBlocks[kJob].nodes[node].level[g_nSelectedSlot[kJob]];
    }

    QTemporaryDir folder;
    QString oldFolder;
    std::unique_ptr<SkillTreeBlock[]> saved{new SkillTreeBlock[kJobCount]};
    ShellTestEnvironment env;
};

TEST_P(EndToEnd, LevelsRaisedWithTheMouseSurviveARestart) {
    const int node = RaisableNode();
    ASSERT_GT(node, 0) << "job 0 has no free first-page skill";
    {
        IniProfileStore profile(ProfileFile());
        SetProfileStore(&profile);
        CTolvemarDlg dialog;
        dialog.OnInitDialog();
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        ASSERT_TRUE(dialog.m_pSelectJobDlg->isVisible());
        const int32_t before = Level(node);

        auto* picture =
            GetDlgItemAs<QAbstractButton>(dialog.m_pSelectJobDlg, CSelectJobDlg::kJobButtonIds[kJob]);
        QTest::mouseClick(picture, Qt::LeftButton, {}, picture->rect().center());
        CSkillTreeDlg* tree = dialog.m_pSkillTreeDlg;
        ASSERT_TRUE(tree->isVisible());
        EXPECT_FALSE(dialog.m_pSelectJobDlg->isVisible());
        EXPECT_EQ(dialog.frameGeometry().size(), tree->size());

        QTest::mouseMove(tree, IconPoint(node) - QPoint(1, 1));
        QTest::mouseMove(tree, IconPoint(node));
        for (int i = 0; i < 3; ++i) QTest::mouseClick(tree, Qt::LeftButton, {}, IconPoint(node));
        QTest::mouseClick(tree, Qt::RightButton, {}, IconPoint(node));
        ASSERT_EQ(Level(node), before + 2);
        EXPECT_TRUE(dialog.windowTitle().endsWith(QStringLiteral(" *")));
        if (GetParam()) {
            EXPECT_TRUE(dialog.windowTitle().contains(QStringLiteral("Tolvemar.sav")));
        }

        // The tree's Close button brings the chooser back; the exit button closes.
        QTest::mouseClick(GetDlgItemAs<QAbstractButton>(tree, 1002), Qt::LeftButton);
        ASSERT_TRUE(dialog.m_pSelectJobDlg->isVisible());
        auto* exit = GetDlgItemAs<QAbstractButton>(dialog.m_pSelectJobDlg, CSelectJobDlg::IDC_EXIT);
        QTest::mouseClick(exit, Qt::LeftButton, {}, exit->rect().center());
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_TRUE(env.boxes.empty());  // AutoSave: no question
        EXPECT_EQ(QFile::exists(QDir(folder.path()).filePath(QStringLiteral("Tolvemar.sav"))), GetParam());
        SetProfileStore(nullptr);
    }

    // Forget the levels in memory, then start again from the stored state.
    const int32_t raised = Level(node);
    std::copy(saved.get(), saved.get() + kJobCount, std::begin(g_SkillTreeBlocks));
    ResetBuildState();
    g_Options = AppOptions{};
    ASSERT_NE(Level(node), raised);

    IniProfileStore profile(ProfileFile());
    SetProfileStore(&profile);
    EXPECT_NE(profile.GetProfileInt(u"Position", u"xpos", -12345), -12345);
    CTolvemarDlg dialog;
    dialog.OnInitDialog();
    EXPECT_EQ(Level(node), raised);
    EXPECT_FALSE(dialog.windowTitle().endsWith(QStringLiteral(" *")));
    SetProfileStore(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Stores, EndToEnd, ::testing::Values(false, true),
                         [](const auto& test) { return test.param ? "SaveFile" : "Profile"; });

}  // namespace
