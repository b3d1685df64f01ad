// The program's exit path when the builds cannot be written: closing the main
// window runs the real SaveBuilds against a save file or a profile file that
// cannot be written. The window must stay open unless the user agrees to go
// on without saving, and nothing may report a successful save.
#include "shell/qt/tolvemar_dlg.h"

#include "persistence/build_store.h"
#include "platform/qt/ini_profile_store.h"
#include "shell/qt/select_job_dlg.h"
#include "shell/qt/shell_test_support.h"

#include <QAbstractButton>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>

namespace {

// The recorded services, with the real load and save of the builds.
class RealStoreServices : public RecordingServices {
public:
    bool LoadBuilds() override {
        calls.push_back("LoadBuilds");
        return ShellServices::LoadBuilds();
    }
    bool SaveBuilds() override {
        calls.push_back("SaveBuilds");
        return ShellServices::SaveBuilds();
    }
};

class ExitPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        // A regular file where a folder should be: nothing can be written
        // below it, whoever runs the test.
        QFile plain(dir_.filePath(QStringLiteral("plain")));
        ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
        plain.write("keep");
        plain.close();
        env_.profile.WriteProfileInt(u"Option", u"Language", 0);
        env_.profile.WriteProfileInt(u"Option", u"AutoUpdate", 0);
        SetShellServices(&services_);
        SetMessageBoxHandler([this](const MessageBoxRequest& request) {
            boxes_.push_back(request.text);
            if (answers_.empty()) {
                ADD_FAILURE() << "unexpected message box";
                return MbResult::Cancel;
            }
            const MbResult answer = answers_.front();
            answers_.pop_front();
            return answer;
        });
        dialog_.OnInitDialog();
        dialog_.show();
    }
    void TearDown() override { EXPECT_TRUE(answers_.empty()) << "scripted answers left over"; }

    // Closes the window with the scripted answers, by the title bar or by
    // the chooser's exit button; true when it closed.
    bool CloseWith(std::initializer_list<MbResult> answers, bool exitButton = false) {
        answers_ = answers;
        boxes_.clear();
        if (exitButton) {
            QAbstractButton* exit =
                GetDlgItemAs<QAbstractButton>(dialog_.m_pSelectJobDlg, CSelectJobDlg::IDC_EXIT);
            QTest::mouseClick(exit, Qt::LeftButton, {}, exit->rect().center());
        } else {
            dialog_.close();
        }
        return !dialog_.isVisible();
    }

    QString Unwritable(const char* name) const { return dir_.filePath(QStringLiteral("plain/") + name); }

    void ExpectPlainUntouched() const {
        QFile plain(dir_.filePath(QStringLiteral("plain")));
        ASSERT_TRUE(plain.open(QIODevice::ReadOnly));
        EXPECT_EQ(plain.readAll(), QByteArray("keep"));
    }

    QTemporaryDir dir_;
    ShellTestEnvironment env_;
    RealStoreServices services_;
    std::deque<MbResult> answers_;
    std::vector<std::u16string> boxes_;
    CTolvemarDlg dialog_;
};

TEST_F(ExitPathTest, AnUnwritableSaveFileKeepsTheWindowOpenUnlessTheUserGoesOn) {
    g_bSaveFileOpen = true;
    g_szSaveFilePath = Unwritable("builds.tvf").toStdU16String();
    // AutoSave on: no first question, only the failure.
    EXPECT_FALSE(CloseWith({MbResult::No}));
    EXPECT_EQ(boxes_, std::vector<std::u16string>{kSaveFailedContinueText});
    EXPECT_NE(dialog_.result(), QDialog::Accepted);
    EXPECT_FALSE(env_.HasValue(u"Position", u"xpos"));

    // AutoSave off with changes: the save question, then the failure.
    g_Options.AutoSave = 0;
    g_bModified = true;
    EXPECT_FALSE(CloseWith({MbResult::Yes, MbResult::No}, true));
    EXPECT_EQ(boxes_, (std::vector<std::u16string>{kAskSaveText, kSaveFailedContinueText}));
    EXPECT_TRUE(g_bModified);
    EXPECT_TRUE(dialog_.isVisible());

    // Going on without saving closes the window, and nothing was written.
    EXPECT_TRUE(CloseWith({MbResult::Yes, MbResult::Yes}, true));
    EXPECT_EQ(boxes_, (std::vector<std::u16string>{kAskSaveText, kSaveFailedContinueText}));
    EXPECT_EQ(dialog_.result(), QDialog::Accepted);
    EXPECT_TRUE(g_bModified);
    ExpectPlainUntouched();
    EXPECT_EQ(services_.calls.back(), "SaveBuilds");
}

TEST_F(ExitPathTest, AnUnwritableProfileKeepsTheWindowOpenUnlessTheUserGoesOn) {
    IniProfileStore unwritable(Unwritable("Tolvemar.ini"));
    SetProfileStore(&unwritable);
    EXPECT_FALSE(CloseWith({MbResult::No}));
    EXPECT_EQ(boxes_, std::vector<std::u16string>{kSaveFailedContinueText});
    EXPECT_TRUE(dialog_.isVisible());
    EXPECT_TRUE(CloseWith({MbResult::Yes}));
    EXPECT_EQ(dialog_.result(), QDialog::Accepted);
    ExpectPlainUntouched();
    SetProfileStore(&env_.profile);
}

// A profile value whose write failed (the options dialog's, the grade's)
// waited in memory and was lost at exit without a word when the builds live
// in a save file, which saves no profile value.
TEST_F(ExitPathTest, AProfileValueThatCouldNotBeWrittenAsksAtExitAlsoWithASaveFile) {
    IniProfileStore unwritable(Unwritable("Tolvemar.ini"));
    SetProfileStore(&unwritable);
    g_bSaveFileOpen = true;
    g_szSaveFilePath = dir_.filePath(QStringLiteral("builds.tvf")).toStdU16String();
    EXPECT_FALSE(unwritable.WriteProfileInt(u"Option", u"AutoSave", 0));
    EXPECT_FALSE(CloseWith({MbResult::No}));
    EXPECT_EQ(boxes_, std::vector<std::u16string>{kSaveFailedContinueText});
    EXPECT_TRUE(QFile::exists(dir_.filePath(QStringLiteral("builds.tvf"))));
    EXPECT_TRUE(CloseWith({MbResult::Yes}));
    EXPECT_EQ(dialog_.result(), QDialog::Accepted);
    SetProfileStore(&env_.profile);
}

}  // namespace
