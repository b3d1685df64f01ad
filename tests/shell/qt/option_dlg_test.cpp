#include "shell/qt/option_dlg.h"

#include "shell/qt/shell_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <utility>

namespace {

QAbstractButton* Btn(const QWidget* dialog, int id) { return GetDlgItemAs<QAbstractButton>(dialog, id); }

void Click(const QWidget* dialog, int id) {
    QAbstractButton* button = Btn(dialog, id);
    ASSERT_NE(button, nullptr) << id;
    // On the indicator: a check box or radio only takes clicks on its
    // indicator and text.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// Shows the dialog and lets it paint once, as a user would see it.
void ShowAndPaint(COptionDlg& dialog) {
    dialog.show();
    dialog.grab();
}

// Each (id, checked) must hold.
void ExpectChecked(const QWidget* dialog, std::initializer_list<std::pair<int, bool>> states) {
    for (const auto& [id, checked] : states) EXPECT_EQ(Btn(dialog, id)->isChecked(), checked) << id;
}

// A shown and painted dialog over the options with the given language.
class OptionDlgTest : public ::testing::Test {
protected:
    COptionDlg& Open(int32_t language) {
        g_Options.Language = language;
        shown.emplace();
        ShowAndPaint(*shown);
        return *shown;
    }
    ShellTestEnvironment env;
    std::optional<COptionDlg> shown;
};

TEST_F(OptionDlgTest, StartsFromTheOptionsWithKoreanPreselectedOnTheFirstRun) {
    g_Options.SexType = 1;
    g_Options.AutoCenter = 1;
    g_Options.AutoUpdate = 0;
    g_Options.Language = -1;
    COptionDlg dialog;
    EXPECT_EQ(dialog.Options().Language, 0);
    ExpectChecked(&dialog, {{COptionDlg::IDC_BOY, false},
                            {COptionDlg::IDC_GIRL, true},
                            {COptionDlg::IDC_SKILLINFO, true},
                            {COptionDlg::IDC_AUTOCENTER, true},
                            {COptionDlg::IDC_AUTOUPDATE, false},
                            {COptionDlg::IDC_SAVETOFILE, false},
                            {COptionDlg::IDC_KOREAN, true},
                            {COptionDlg::IDC_INTERNATIONAL, false}});
    EXPECT_TRUE(Btn(&dialog, 2)->isEnabled());
    EXPECT_EQ(g_Options.Language, -1);  // the preselection is the copy's only
}

TEST_F(OptionDlgTest, FirstPaintRelabelsInKoreanReplacingTheTemplateCaptions) {
    g_Options.Language = 0;
    COptionDlg dialog;
    EXPECT_EQ(Btn(&dialog, 1)->text(), QStringLiteral("저 장"));
    ShowAndPaint(dialog);
    EXPECT_FALSE(dialog.RelabelPending());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("환경설정"));
    EXPECT_EQ(Btn(&dialog, 1)->text(), QStringLiteral("확인"));
    EXPECT_EQ(Btn(&dialog, 2)->text(), QStringLiteral("취소"));
    EXPECT_EQ(Btn(&dialog, COptionDlg::IDC_AUTOUPDATE)->text(), QStringLiteral("자동업데이트 검사"));
    EXPECT_TRUE(Btn(&dialog, COptionDlg::IDC_SKILLINFO)->isEnabled());
    for (int id : {1088, 1089, 1090, 1091, 1092}) EXPECT_TRUE(GetDlgItem(&dialog, id)->isVisible()) << id;
}

TEST_F(OptionDlgTest, LanguageClickPreviewsWithoutTouchingTheOptions) {
    g_Options.SkillInfo = 1;
    COptionDlg& dialog = Open(0);
    Click(&dialog, COptionDlg::IDC_INTERNATIONAL);
    EXPECT_TRUE(dialog.RelabelPending());
    dialog.grab();
    EXPECT_EQ(g_Options.Language, 0);
    EXPECT_EQ(dialog.Options().Language, 1);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Config"));
    EXPECT_EQ(Btn(&dialog, 1)->text(), QStringLiteral("Ok"));
    EXPECT_EQ(Btn(&dialog, 2)->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(Btn(&dialog, COptionDlg::IDC_BOY)->text(), QStringLiteral("Boy"));
    EXPECT_EQ(Btn(&dialog, COptionDlg::IDC_AUTOSAVE)->text(), QStringLiteral("Autosave when exit"));
    // The description option only works in Korean: disabled, its state kept.
    EXPECT_FALSE(Btn(&dialog, COptionDlg::IDC_SKILLINFO)->isEnabled());
    EXPECT_TRUE(Btn(&dialog, COptionDlg::IDC_SKILLINFO)->isChecked());
    for (int id : {1088, 1089, 1090, 1091, 1092}) EXPECT_FALSE(GetDlgItem(&dialog, id)->isVisible()) << id;
    // Never relabelled: the language radios and the save-file option.
    EXPECT_EQ(Btn(&dialog, COptionDlg::IDC_INTERNATIONAL)->text(), QStringLiteral("Inernational VO"));
    EXPECT_EQ(Btn(&dialog, COptionDlg::IDC_SAVETOFILE)->text(), QStringLiteral("파일로 저장하기"));
    EXPECT_TRUE(GetDlgItem(&dialog, 1093)->isVisible());
    EXPECT_TRUE(Btn(&dialog, COptionDlg::IDC_SAVETOFILE)->isEnabled());
    ExpectChecked(&dialog, {{COptionDlg::IDC_INTERNATIONAL, true}, {COptionDlg::IDC_KOREAN, false}});

    Click(&dialog, COptionDlg::IDC_JAPANESE);
    dialog.grab();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("環境設定"));
    // A Japanese text that is empty falls back to English.
    EXPECT_EQ(Btn(&dialog, COptionDlg::IDC_AUTOSAVE)->text(), QStringLiteral("Autosave when exit"));
    Click(&dialog, COptionDlg::IDC_KOREAN);
    dialog.grab();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("환경설정"));
    EXPECT_TRUE(Btn(&dialog, COptionDlg::IDC_SKILLINFO)->isEnabled());
    EXPECT_TRUE(GetDlgItem(&dialog, 1090)->isVisible());
}

TEST_F(OptionDlgTest, RadiosStayCheckedWhenClickedAgainAndNeverBothSet) {
    COptionDlg& dialog = Open(1);
    Click(&dialog, COptionDlg::IDC_BOY);
    EXPECT_TRUE(Btn(&dialog, COptionDlg::IDC_BOY)->isChecked());
    EXPECT_EQ(dialog.Options().SexType, 0);
    Click(&dialog, COptionDlg::IDC_GIRL);
    ExpectChecked(&dialog, {{COptionDlg::IDC_BOY, false}, {COptionDlg::IDC_GIRL, true}});
    Click(&dialog, COptionDlg::IDC_INTERNATIONAL);
    EXPECT_TRUE(Btn(&dialog, COptionDlg::IDC_INTERNATIONAL)->isChecked());
    EXPECT_EQ(dialog.Options().Language, 1);
    // A relabel sets the sex radios again from the copy.
    dialog.grab();
    EXPECT_TRUE(Btn(&dialog, COptionDlg::IDC_GIRL)->isChecked());
}

TEST_F(OptionDlgTest, CheckBoxesToggleTheCopyOnly) {
    COptionDlg& dialog = Open(0);
    Click(&dialog, COptionDlg::IDC_AUTOCHANGE);
    Click(&dialog, COptionDlg::IDC_AUTOSAVE);
    Click(&dialog, COptionDlg::IDC_AUTOCENTER);
    Click(&dialog, COptionDlg::IDC_AUTOUPDATE);
    Click(&dialog, COptionDlg::IDC_SKILLINFO);
    EXPECT_EQ(dialog.Options().AutoChange, 0);
    EXPECT_EQ(dialog.Options().AutoSave, 0);
    EXPECT_EQ(dialog.Options().AutoCenter, 1);
    EXPECT_EQ(dialog.Options().AutoUpdate, 0);
    EXPECT_EQ(dialog.Options().SkillInfo, 0);
    ExpectChecked(&dialog, {{COptionDlg::IDC_AUTOCHANGE, false}, {COptionDlg::IDC_AUTOCENTER, true}});
    EXPECT_EQ(g_Options.AutoChange, 1);
    EXPECT_EQ(g_Options.AutoCenter, 0);
}

TEST_F(OptionDlgTest, CancelAfterAPreviewChangesAndWritesNothing) {
    COptionDlg& dialog = Open(0);
    Click(&dialog, COptionDlg::IDC_INTERNATIONAL);
    Click(&dialog, COptionDlg::IDC_GIRL);
    Click(&dialog, COptionDlg::IDC_SAVETOFILE);
    dialog.grab();
    Click(&dialog, 2);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(g_Options.Language, 0);
    EXPECT_EQ(g_Options.SexType, 0);
    EXPECT_EQ(g_Options.SaveToFile, 0);
    EXPECT_TRUE(env.profile.values.empty());
    EXPECT_TRUE(env.services.calls.empty());
}

// Catches Enter pressing the default button whatever has the focus: with the
// focus on "취소", Return cancels and writes nothing; on a check box, Return
// presses the default button, Save.
TEST_F(OptionDlgTest, ReturnPressesTheFocusedButtonElseTheDefaultOne) {
    COptionDlg& dialog = Open(0);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    Click(&dialog, COptionDlg::IDC_SAVETOFILE);
    Btn(&dialog, 1)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), Btn(&dialog, 2));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(g_Options.SaveToFile, 0);
    EXPECT_TRUE(env.profile.values.empty());
    EXPECT_TRUE(env.services.calls.empty());

    COptionDlg& again = Open(0);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&again));
    Btn(&again, COptionDlg::IDC_AUTOCENTER)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(again.result(), QDialog::Accepted);
    EXPECT_EQ(env.profile.writeCount, 8);
}

TEST_F(OptionDlgTest, SaveStoresAllEightOptionsWithoutTouchingTheBuildsWhenTheStoreStays) {
    COptionDlg& dialog = Open(-1);
    Click(&dialog, COptionDlg::IDC_INTERNATIONAL);
    Click(&dialog, COptionDlg::IDC_AUTOCENTER);
    Click(&dialog, 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(g_Options.Language, 1);
    EXPECT_EQ(g_Options.AutoCenter, 1);
    EXPECT_TRUE(env.services.calls.empty());
    EXPECT_EQ(env.profile.writeCount, 8);
    EXPECT_EQ(env.profile.GetProfileInt(u"Option", u"Language", -5), 1);
    EXPECT_EQ(env.profile.GetProfileInt(u"Option", u"AutoCenter", -5), 1);
    EXPECT_EQ(env.profile.GetProfileInt(u"Option", u"SkillInfo", -5), 1);
    EXPECT_EQ(env.profile.GetProfileInt(u"Option", u"SaveToFile", -5), 0);
}

TEST_F(OptionDlgTest, SwitchingTheStoreSavesToTheOldOneThenLoadsTheNewOne) {
    std::vector<std::u16string> titles;
    SetMainTitleSink([&](const std::u16string& title) { titles.push_back(title); });
    int32_t saveToFileWhenSaving = -1;
    struct Services : RecordingServices {
        int32_t* seen;
        bool SaveBuilds() override {
            *seen = g_Options.SaveToFile;
            return RecordingServices::SaveBuilds();
        }
    } services;
    services.seen = &saveToFileWhenSaving;
    SetShellServices(&services);
    COptionDlg& dialog = Open(0);
    Click(&dialog, COptionDlg::IDC_SAVETOFILE);
    Click(&dialog, 1);
    EXPECT_EQ(services.calls, (std::vector<std::string>{"SaveBuilds", "LoadBuilds"}));
    EXPECT_EQ(saveToFileWhenSaving, 0);  // saved into the store still in use
    EXPECT_EQ(g_Options.SaveToFile, 1);
    ASSERT_FALSE(titles.empty());
    EXPECT_EQ(env.profile.GetProfileInt(u"Option", u"SaveToFile", -5), 1);
    SetShellServices(&env.services);
}

TEST_F(OptionDlgTest, CancelInTheSaveQuestionKeepsTheDialogOpenAndAppliesNothing) {
    env.services.saveResult = false;
    COptionDlg& dialog = Open(0);
    Click(&dialog, COptionDlg::IDC_SAVETOFILE);
    Click(&dialog, COptionDlg::IDC_GIRL);
    Click(&dialog, 1);
    EXPECT_EQ(env.services.calls, (std::vector<std::string>{"SaveBuilds"}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(g_Options.SaveToFile, 0);
    EXPECT_EQ(g_Options.SexType, 0);
    EXPECT_TRUE(env.profile.values.empty());
    EXPECT_EQ(dialog.Options().SaveToFile, 1);
    EXPECT_TRUE(Btn(&dialog, COptionDlg::IDC_GIRL)->isChecked());
}

}  // namespace
