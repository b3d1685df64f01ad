#include "shell/qt/tolvemar_dlg.h"

#include "shell/qt/option_dlg.h"
#include "shell/qt/select_job_dlg.h"
#include "shell/qt/shell_test_support.h"

#include <QAbstractButton>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace {

using Calls = std::vector<std::string>;

QAbstractButton* Btn(const QWidget* host, int id) { return GetDlgItemAs<QAbstractButton>(host, id); }

void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

void StoreLanguage(ShellTestEnvironment& env, int32_t language) {
    env.profile.WriteProfileInt(u"Option", u"Language", language);
}

class TolvemarDlgTest : public ::testing::Test {
protected:
    // Starts the main window over a profile whose language is Korean, and shows it.
    CTolvemarDlg& StartShown() {
        StoreLanguage(env, 0);
        shown.emplace();
        shown->OnInitDialog();
        shown->show();
        return *shown;
    }
    ShellTestEnvironment env;
    std::optional<CTolvemarDlg> shown;
};

TEST_F(TolvemarDlgTest, StartUpRunsItsStepsInOrder) {
    StoreLanguage(env, 1);
    env.profile.WriteProfileInt(u"Option", u"SexType", 1);
    CTolvemarDlg dialog;
    // What each step can see of the earlier ones.
    struct Observer : RecordingServices {
        CTolvemarDlg* window = nullptr;
        std::vector<std::string> seen;
        void StartUpdateCheck(CTolvemarDlg& w) override {
            RecordingServices::StartUpdateCheck(w);
            seen.push_back(g_Options.Language == 1 && g_Options.SexType == 1 ? "options read"
                                                                             : "options unread");
        }
        bool LoadBuilds() override {
            seen.push_back(window->m_pSelectJobDlg ? "chooser made" : "no chooser");
            return RecordingServices::LoadBuilds();
        }
        void LoadSkillDescriptions() override {
            RecordingServices::LoadSkillDescriptions();
            seen.push_back(window->m_pSelectJobDlg->isVisibleTo(window) ? "chooser shown" : "chooser hidden");
        }
    } services;
    services.window = &dialog;
    SetShellServices(&services);

    EXPECT_TRUE(dialog.OnInitDialog());
    EXPECT_EQ(services.calls, (Calls{"StartUpdateCheck", "LoadBuilds", "LoadSkillDescriptions"}));
    EXPECT_EQ(services.seen, (Calls{"options read", "no chooser", "chooser shown"}));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tolvemar RE v2.21c"));
    EXPECT_TRUE(env.dialogs.empty());
    // A plain start: file buttons hidden.
    EXPECT_TRUE(Btn(dialog.m_pSelectJobDlg, CSelectJobDlg::IDC_CLOSE_FILE)->isHidden());
    EXPECT_TRUE(Btn(dialog.m_pSelectJobDlg, CSelectJobDlg::IDC_SAVE_AS)->isHidden());
    SetShellServices(&env.services);
}

TEST_F(TolvemarDlgTest, NoUpdateCheckWhenItIsSwitchedOff) {
    StoreLanguage(env, 0);
    env.profile.WriteProfileInt(u"Option", u"AutoUpdate", 0);
    CTolvemarDlg dialog;
    dialog.OnInitDialog();
    EXPECT_EQ(env.services.calls, (Calls{"LoadBuilds", "LoadSkillDescriptions"}));
}

TEST_F(TolvemarDlgTest, FirstRunCancelRunsInKoreanAndAsksAgainNextTime) {
    {
        CTolvemarDlg dialog;
        dialog.OnInitDialog();
        EXPECT_EQ(env.services.calls,
                  (Calls{"StartUpdateCheck", "LoadBuilds", "LoadSkillDescriptions", "RunOptionsDialog"}));
        EXPECT_EQ(g_Options.Language, 0);
        EXPECT_FALSE(env.HasValue(u"Option", u"Language"));
    }
    env.services.calls.clear();
    CTolvemarDlg again;
    again.OnInitDialog();
    EXPECT_EQ(env.services.calls.back(), "RunOptionsDialog");
}

TEST_F(TolvemarDlgTest, FirstRunOptionsDialogIsTheRealOneAndItsChoiceIsKept) {
    env.services.forwardDialogs = true;
    env.drive = [](QDialog& dialog) {
        auto* options = qobject_cast<COptionDlg*>(&dialog);
        ASSERT_NE(options, nullptr);
        EXPECT_EQ(options->Options().Language, 0);  // Korean preselected
        options->OnClickedInternational();
        Click(Btn(options, 1));
    };
    CTolvemarDlg dialog;
    dialog.OnInitDialog();
    EXPECT_EQ(env.dialogs, (Calls{"COptionDlg"}));
    EXPECT_EQ(g_Options.Language, 1);
    EXPECT_EQ(env.profile.GetProfileInt(u"Option", u"Language", -5), 1);
    dialog.m_pSelectJobDlg->grab();
    EXPECT_EQ(Btn(dialog.m_pSelectJobDlg, CSelectJobDlg::IDC_EXIT)->text(), QStringLiteral("e&Xit"));
}

TEST_F(TolvemarDlgTest, AnOpenSaveFileShowsTheFileButtonsAndAnAutorunJobSkipsTheChooser) {
    StoreLanguage(env, 0);
    g_bSaveFileOpen = true;
    g_nAutoRunJob = 4;
    CTolvemarDlg dialog;
    dialog.OnInitDialog();
    EXPECT_FALSE(Btn(dialog.m_pSelectJobDlg, CSelectJobDlg::IDC_CLOSE_FILE)->isHidden());
    EXPECT_FALSE(Btn(dialog.m_pSelectJobDlg, CSelectJobDlg::IDC_SAVE_AS)->isHidden());
    EXPECT_TRUE(Btn(dialog.m_pSelectJobDlg, CSelectJobDlg::IDC_LOAD_FILE)->isHidden());
    EXPECT_TRUE(dialog.m_pSelectJobDlg->isHidden());
    EXPECT_EQ(g_nAutoRunJob, NO_JOB);  // used once
}

TEST_F(TolvemarDlgTest, CancelInTheSaveQuestionKeepsTheWindowAndWritesNoPosition) {
    CTolvemarDlg& dialog = StartShown();
    env.services.calls.clear();
    env.services.saveResult = false;
    EXPECT_FALSE(dialog.close());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(env.HasValue(u"Position", u"xpos"));
    dialog.close();  // asks again
    EXPECT_EQ(env.services.calls, (Calls{"SaveBuilds", "SaveBuilds"}));

    env.services.saveResult = true;
    const QRect outer = dialog.frameGeometry();
    Click(Btn(dialog.m_pSelectJobDlg, CSelectJobDlg::IDC_EXIT));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(env.profile.GetProfileInt(u"Position", u"xpos", -1), outer.x());
    EXPECT_EQ(env.profile.GetProfileInt(u"Position", u"ypos", -1), outer.y());
}

TEST_F(TolvemarDlgTest, EnterAndEscapeNeverCloseTheMainWindow) {
    CTolvemarDlg& dialog = StartShown();
    for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(&dialog, static_cast<Qt::Key>(key));
        QTest::keyClick(dialog.m_pSelectJobDlg, static_cast<Qt::Key>(key));
    }
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(std::count(env.services.calls.begin(), env.services.calls.end(), "SaveBuilds"), 0);
}

TEST_F(TolvemarDlgTest, WindowMenuCommandOpensTheAboutBoxWithAnyLowBits) {
    CTolvemarDlg dialog;
    // The window has a close box but no minimize box.
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    dialog.OnSysCommand(0x10);
    dialog.OnSysCommand(0x13);
    dialog.OnSysCommand(0x20);
    dialog.OnSysCommand(0xF060);
    EXPECT_EQ(env.services.calls, (Calls{"RunAboutDialog", "RunAboutDialog"}));
}

TEST_F(TolvemarDlgTest, ContextMenuHoldsASeparatorAndTheAboutItem) {
    CTolvemarDlg& dialog = StartShown();
    QMenu* menu = dialog.SystemMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_TRUE(menu->actions()[0]->isSeparator());
    EXPECT_EQ(menu->actions()[1]->text(), QStringLiteral("&About Tolvemar..."));

    // A right click on the chooser where no control is.
    CSelectJobDlg* chooser = dialog.m_pSelectJobDlg;
    const QPoint empty(880, 300);
    ASSERT_EQ(chooser->childAt(empty), nullptr);
    QContextMenuEvent mouse(QContextMenuEvent::Mouse, empty, chooser->mapToGlobal(empty));
    QApplication::sendEvent(chooser, &mouse);
    EXPECT_TRUE(menu->isVisible());
    menu->actions()[1]->trigger();
    menu->hide();
    EXPECT_EQ(env.services.calls.back(), "RunAboutDialog");

    // The Menu key on a focused control, and Shift+F10.
    QAbstractButton* options = Btn(chooser, CSelectJobDlg::IDC_OPTIONS);
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(2, 2), options->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(options, &key);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
    options->setFocus();
    QTest::keyClick(options, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
}

TEST_F(TolvemarDlgTest, TheOuterSizeIsTheChoosersAlsoWhenPlacedBeforeTheFirstShow) {
    StoreLanguage(env, 0);
    CTolvemarDlg dialog;
    dialog.OnInitDialog();  // sizes the window while it has no frame yet
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTRY_COMPARE_WITH_TIMEOUT(dialog.frameGeometry().size(), dialog.m_pSelectJobDlg->size(), 2000);
    EXPECT_EQ(dialog.frameGeometry().topLeft(), QPoint(0, 0));
}

TEST_F(TolvemarDlgTest, ACloseRequestWhileOneIsBeingHandledIsIgnored) {
    StoreLanguage(env, 0);
    CTolvemarDlg dialog;
    struct Reentering : RecordingServices {
        CTolvemarDlg* window = nullptr;
        bool SaveBuilds() override {
            RecordingServices::SaveBuilds();
            window->OnClose();  // e.g. the update offer while the save question is up
            return saveResult;
        }
    } services;
    services.window = &dialog;
    SetShellServices(&services);
    dialog.OnInitDialog();
    dialog.show();
    services.calls.clear();
    dialog.OnClose();
    EXPECT_EQ(services.calls, (Calls{"SaveBuilds"}));
    EXPECT_FALSE(dialog.isVisible());
    SetShellServices(&env.services);
}

// The chooser gives the focus to its close-file button, which is hidden
// unless a save file is in use: then no visible button holds the focus, and
// Space presses nothing.
TEST_F(TolvemarDlgTest, SpacePressesNoButtonWhileTheCloseFileButtonIsHidden) {
    CTolvemarDlg& dialog = StartShown();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    CSelectJobDlg* chooser = dialog.m_pSelectJobDlg;
    auto pressSpace = [&] {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        EXPECT_EQ(qobject_cast<QAbstractButton*>(focused), nullptr) << focused->objectName().toStdString();
        QTest::keyClick(focused, Qt::Key_Space);
    };
    pressSpace();
    // Again after a job was opened and the chooser came back.
    chooser->OnClickedJob(0);
    chooser->ShowWindow(true);
    pressSpace();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_EQ(std::count(env.services.calls.begin(), env.services.calls.end(), "SaveBuilds"), 0);

    // With the button shown, it takes the focus.
    chooser->ShowFileButtons(true);
    chooser->ShowWindow(true);
    EXPECT_EQ(QApplication::focusWidget(), GetDlgItem(chooser, CSelectJobDlg::IDC_CLOSE_FILE));
}

}  // namespace
