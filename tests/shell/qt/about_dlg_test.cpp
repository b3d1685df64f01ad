#include "shell/qt/about_dlg.h"
#include "shell/qt/shell_services.h"

#include "data/lookups.h"
#include "platform/qt/dialog_template.h"
#include "platform/qt/modal.h"
#include "platform/qt/qt_message_box.h"
#include "platform/shell_open.h"
#include "shell/about_box.h"
#include "shell/options.h"
#include "shell/qt/option_dlg.h"
#include "shell/qt/select_job_dlg.h"
#include "shell/qt/shell_test_support.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

const QString kNotes =
    QStringLiteral("Tolvemar RE v2.21c\r\n- 새 직업 트리\r\n\r\nTolvemar RE v2.20\r\n- 첫 공개");

class AboutDlgTest : public testing::Test {
protected:
    void SetUp() override {
        savedLanguage = g_Options.Language;
        SetReleaseNotesSource([] { return std::optional<QString>(kNotes); });
        SetShellOpenHandler([this](const std::u16string& address) { opened.push_back(address); });
    }
    void TearDown() override {
        g_Options.Language = savedLanguage;
        SetReleaseNotesSource({});
        SetShellOpenHandler({});
    }
    static QString Text(const QWidget* box, int id) {
        if (auto* button = GetDlgItemAs<QPushButton>(box, id)) return button->text();
        if (auto* label = GetDlgItemAs<QLabel>(box, id)) return label->text();
        return QStringLiteral("<missing>");
    }
    static QString Localized(int index) { return QString::fromStdU16String(GetLocalizedText(index)); }

    int32_t savedLanguage = -1;
    std::vector<std::u16string> opened;
};

TEST_F(AboutDlgTest, TextsFollowTheLanguage) {
    const struct {
        int32_t language;
        const char16_t* ok;
    } cases[] = {{0, u"확인"}, {1, u"Ok"}, {2, u"確認"}, {-1, u"확인"}};
    for (const auto& c : cases) {
        g_Options.Language = c.language;
        CAboutDlg box;
        EXPECT_EQ(box.windowTitle(), QStringLiteral("About Tolvemar"));
        EXPECT_EQ(Text(&box, IDC_ABOUT_VERSION), QStringLiteral("Tolvemar RE v2.21c"));
        EXPECT_EQ(Text(&box, 1), QString::fromStdU16String(c.ok)) << c.language;
        // Records 27 to 29 have no Japanese text: Japanese shows the English one.
        const bool korean = c.language == 0 || c.language == -1;
        EXPECT_EQ(Text(&box, IDC_ABOUT_HOMEPAGE),
                  korean ? QStringLiteral("　　홈페이지 바로가기 : http://www.tolvemar.invalid/")
                         : QStringLiteral("Homepage : http://www.tolvemar.invalid/"));
        EXPECT_EQ(Text(&box, IDC_ABOUT_EMAIL),
                  korean ? QStringLiteral("　　이메일 보내기　　 : mailto:tolvemar@tolvemar.invalid")
                         : QStringLiteral("E-mail   : mailto:tolvemar@tolvemar.invalid"));
        EXPECT_EQ(Text(&box, IDC_ABOUT_DESCRIPTION),
                  korean ? QStringLiteral("발도르네의 스킬 트리를 미리 짜 볼 수 있는 시뮬레이터입니다.")
                         : QStringLiteral("A skill tree simulator for planning Valdorne characters."));
    }
}

TEST_F(AboutDlgTest, NotesAreReadOnlyScrollAndBreakAtLineEnds) {
    CAboutDlg box;
    auto* notes = GetDlgItemAs<QPlainTextEdit>(&box, IDC_ABOUT_NOTES);
    ASSERT_NE(notes, nullptr);
    EXPECT_TRUE(notes->isReadOnly());
    EXPECT_EQ(notes->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(notes->document()->blockCount(), 5);
    EXPECT_EQ(notes->document()->firstBlock().text(), QStringLiteral("Tolvemar RE v2.21c"));
    EXPECT_EQ(notes->document()->findBlockByNumber(1).text(), QStringLiteral("- 새 직업 트리"));
    EXPECT_FALSE(notes->toPlainText().contains(QLatin1Char('\r')));
    EXPECT_EQ(notes->font().pixelSize(), 12);
    EXPECT_EQ(notes->font().styleHint(), QFont::TypeWriter);
}

TEST_F(AboutDlgTest, MissingNotesLeaveTheTemplateUnchanged) {
    SetReleaseNotesSource([] { return std::optional<QString>(); });
    g_Options.Language = 1;
    CAboutDlg box;
    EXPECT_EQ(Text(&box, IDC_ABOUT_VERSION), QStringLiteral("Tolvemar 버전 1.0"));
    EXPECT_EQ(Text(&box, 1), QStringLiteral("확인"));
    EXPECT_TRUE(GetDlgItemAs<QPlainTextEdit>(&box, IDC_ABOUT_NOTES)->toPlainText().isEmpty());
}

TEST_F(AboutDlgTest, LinkButtonsOpenTheirAddressesAndKeepTheBoxOpen) {
    CAboutDlg box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QTest::mouseClick(GetDlgItem(&box, IDC_ABOUT_HOMEPAGE), Qt::LeftButton);
    QTest::mouseClick(GetDlgItem(&box, IDC_ABOUT_EMAIL), Qt::LeftButton);
    EXPECT_EQ(opened, (std::vector<std::u16string>{std::u16string(kHomePageAddress),
                                                   u"mailto:" + std::u16string(kEmailAddress)}));
    EXPECT_TRUE(box.isVisible());
    // Return on a focused link button presses that button, not OK: the
    // address opens and the box stays.
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    GetDlgItem(&box, IDC_ABOUT_HOMEPAGE)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened.back(), std::u16string(kHomePageAddress));
    EXPECT_TRUE(box.isVisible());
    // The captions name the addresses the buttons open.
    for (int32_t language : {0, 1, 2}) {
        g_Options.Language = language;
        EXPECT_TRUE(Localized(27).endsWith(QString::fromStdU16String(std::u16string(kHomePageAddress))));
        EXPECT_TRUE(Localized(28).endsWith(QStringLiteral("mailto:") +
                                           QString::fromStdU16String(std::u16string(kEmailAddress))));
    }
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Rejected);
}

TEST_F(AboutDlgTest, OkHasTheFocusAndClosesTheBox) {
    CAboutDlg box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QWidget* ok = GetDlgItem(&box, 1);
    EXPECT_EQ(box.focusWidget(), ok);
    QTest::keyClick(box.focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);

    CAboutDlg again;
    again.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
    QTest::mouseClick(GetDlgItem(&again, 1), Qt::LeftButton);
    EXPECT_EQ(again.result(), QDialog::Accepted);
}

TEST_F(AboutDlgTest, EachOpeningIsBuiltAfresh) {
    g_Options.Language = 0;
    auto first = std::make_unique<CAboutDlg>();
    EXPECT_EQ(Text(first.get(), 1), QStringLiteral("확인"));
    first.reset();
    g_Options.Language = 1;
    SetReleaseNotesSource([] { return std::optional<QString>(QStringLiteral("other")); });
    CAboutDlg second;
    EXPECT_EQ(Text(&second, 1), QStringLiteral("Ok"));
    EXPECT_EQ(second.m_strNotes, QStringLiteral("other"));
}

TEST_F(AboutDlgTest, TheAboutCommandRunsANewBoxModallyOverTheWindow) {
    QWidget window;
    auto* child = new QWidget(&window);
    int runs = 0;
    QWidget* expectedParent = &window;
    SetModalRunner([&](QDialog& dialog) {
        ++runs;
        EXPECT_NE(qobject_cast<CAboutDlg*>(&dialog), nullptr);
        EXPECT_EQ(dialog.parentWidget(), expectedParent);
        dialog.show();
        QTest::mouseClick(GetDlgItem(&dialog, 1), Qt::LeftButton);
        return dialog.result();
    });
    ShellServices services;
    services.RunAboutDialog(child);
    expectedParent = nullptr;
    services.RunAboutDialog(nullptr);
    SetModalRunner({});
    EXPECT_EQ(runs, 2);
}

// A row of the picture with a dotted line: `length` pixels or more, every
// other one in `ink` and those between not.
bool HasDottedRow(const QImage& picture, QRgb ink, int length = 80) {
    for (int y = 0; y < picture.height(); ++y) {
        int run = 0;
        for (int x = 0; x + 1 < picture.width(); ++x) {
            const bool on = picture.pixel(x, y) == ink;
            const bool nextOn = picture.pixel(x + 1, y) == ink;
            run = on != nextOn ? run + 1 : 0;
            if (run >= length) return true;
        }
    }
    return false;
}

// Neither the flat link buttons nor the read-only notes draw a frame or a
// caret that shows the focus: each draws the dotted focus rectangle itself.
TEST_F(AboutDlgTest, TheFocusedLinkOrNotesShowTheDottedFocusRectangle) {
    CAboutDlg box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    QWidget* home = GetDlgItem(&box, IDC_ABOUT_HOMEPAGE);
    QWidget* mail = GetDlgItem(&box, IDC_ABOUT_EMAIL);
    QWidget* notes = GetDlgItemAs<QPlainTextEdit>(&box, IDC_ABOUT_NOTES)->viewport();
    const QRgb buttonInk = home->palette().color(QPalette::ButtonText).rgb();
    const QRgb textInk = notes->palette().color(QPalette::Text).rgb();
    EXPECT_FALSE(HasDottedRow(notes->grab().toImage(), textInk));

    home->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(home->hasFocus());
    EXPECT_TRUE(HasDottedRow(home->grab().toImage(), buttonInk));
    EXPECT_FALSE(HasDottedRow(mail->grab().toImage(), buttonInk));

    GetDlgItem(&box, IDC_ABOUT_NOTES)->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(HasDottedRow(notes->grab().toImage(), textInk));
    EXPECT_FALSE(HasDottedRow(home->grab().toImage(), buttonInk));
}

// Catches push buttons whose focus nobody can see (the style marks the default
// button, which need not have the focus). Tabbing once round each window, the
// focused push button alone shows a dotted line over half its width.
TEST_F(AboutDlgTest, EveryPushButtonOfTheDialogsAndBoxesShowsTheFocus) {
    ShellTestEnvironment env;
    QWidget chooserHost;  // the job pictures and the chooser's buttons
    (new CSelectJobDlg(&chooserHost))->ShowWindow(true);
    CAboutDlg about;
    COptionDlg options(nullptr);
    const std::unique_ptr<QMessageBox> box(
        CreateMessageBox({MbOwner::Application, u"?", u"Tolvemar", MbButtons::YesNo, MbIcon::Question}));
    for (QWidget* window : std::initializer_list<QWidget*>{&about, &options, box.get(), &chooserHost}) {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QList<QPushButton*> buttons;
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            if (button->isVisible()) buttons << button;
        }
        QSet<QPushButton*> focused;
        for (int step = 0; step <= int(window->findChildren<QWidget*>().size()); ++step) {
            for (QPushButton* button : buttons) {
                const QRgb ink = button->palette().color(QPalette::ButtonText).rgb();
                EXPECT_EQ(HasDottedRow(button->grab().toImage(), ink, button->width() / 2),
                          button->hasFocus())
                    << button->text().toStdString() << ", step " << step;
                if (button->hasFocus()) focused << button;
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        EXPECT_EQ(focused.size(), buttons.size());
        window->hide();
    }
}

// With TOLVEMAR_SCREENSHOT_DIR set, saves the box in Korean and English.
TEST_F(AboutDlgTest, Screenshots) {
    const char* dir = std::getenv("TOLVEMAR_SCREENSHOT_DIR");
    if (!dir) GTEST_SKIP() << "TOLVEMAR_SCREENSHOT_DIR not set";
    // The real release notes when the resource is there, else the sample.
    SetReleaseNotesSource({});
    if (CAboutDlg().m_strNotes.isEmpty())
        SetReleaseNotesSource([] { return std::optional<QString>(kNotes); });
    for (int32_t language : {0, 1}) {
        g_Options.Language = language;
        CAboutDlg box;
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
        EXPECT_TRUE(box.grab().save(
            QDir(QString::fromUtf8(dir)).filePath(QStringLiteral("about-%1.png").arg(language))));
    }
}

}  // namespace
