#include "shell/qt/select_job_dlg.h"

#include "data/lookups.h"
#include "platform/qt/bitmap_button.h"
#include "shell/qt/shell_test_support.h"
#include "skilltree/qt/tree_bitmaps.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

QAbstractButton* Btn(const QWidget* host, int id) { return GetDlgItemAs<QAbstractButton>(host, id); }

// A stand-in main window hosting the chooser.
struct ChooserHost {
    explicit ChooserHost(QPoint at = QPoint(100, 80)) {
        window.setFixedSize(300, 200);
        window.move(at);
        chooser = new CSelectJobDlg(&window);
        chooser->SetOpenJobHandler([this](int job) { opened.push_back(job); });
        window.show();
    }
    QWidget window;
    CSelectJobDlg* chooser;
    std::vector<int> opened;
};

// A shown chooser in its stand-in main window.
class SelectJobDlgTest : public ::testing::Test {
protected:
    void SetUp() override { host.chooser->ShowWindow(true); }
    ShellTestEnvironment env;
    ChooserHost host;
};

TEST_F(SelectJobDlgTest, EachPictureOpensItsJobAfterHidingTheChooser) {
    for (int job = 0; job < kJobCount; ++job) {
        SCOPED_TRACE(job);
        host.chooser->ShowWindow(true);
        host.opened.clear();
        QAbstractButton* picture = Btn(host.chooser, CSelectJobDlg::kJobButtonIds[job]);
        ASSERT_NE(picture, nullptr);
        QTest::mouseClick(picture, Qt::LeftButton, {}, picture->rect().center());
        EXPECT_EQ(host.opened, std::vector<int>{job});
        EXPECT_FALSE(host.chooser->isVisible());
    }
}

TEST(SelectJobDlg, PicturesSitInTwoRowsOfTenWithTheirNamesBelow) {
    ShellTestEnvironment env;
    ChooserHost host;
    // Job 9 top-left, job 8 below it, job 18 bottom-right (Tahoma 9: 7 x 14 units).
    EXPECT_EQ(GetDlgItem(host.chooser, 1000)->geometry(), QRect(30, 32, 65, 114));
    EXPECT_EQ(GetDlgItem(host.chooser, 1023)->pos(), QPoint(30, 168));
    EXPECT_EQ(GetDlgItem(host.chooser, 1067)->pos(), QPoint(677, 168));
    EXPECT_EQ(GetDlgItem(host.chooser, 1036)->pos(), QPoint(26, 145));
    EXPECT_EQ(host.chooser->size(), QSize(894, 369));
}

TEST_F(SelectJobDlgTest, PaintSetsNamesCaptionsAndPortraitsFromTheOptions) {
    g_Options.Language = 1;
    host.chooser->grab();
    EXPECT_EQ(Btn(host.chooser, CSelectJobDlg::IDC_EXIT)->text(), QStringLiteral("e&Xit"));
    EXPECT_EQ(Btn(host.chooser, CSelectJobDlg::IDC_OPTIONS)->text(), QStringLiteral("c&Onfig"));
    EXPECT_EQ(Btn(host.chooser, CSelectJobDlg::IDC_ABOUT)->text(), QStringLiteral("&About"));
    EXPECT_EQ(Btn(host.chooser, CSelectJobDlg::IDC_LOAD_FILE)->text(), QStringLiteral("&Load"));
    EXPECT_EQ(Btn(host.chooser, CSelectJobDlg::IDC_SAVE_FILE)->text(), QStringLiteral("&Save"));
    // The close-file and store buttons keep their template captions.
    EXPECT_EQ(Btn(host.chooser, CSelectJobDlg::IDC_CLOSE_FILE)->text(), QStringLiteral("(&C) 파일닫기"));
    EXPECT_EQ(Btn(host.chooser, CSelectJobDlg::IDC_SAVE_AS)->text(), QStringLiteral("(&W) 저장하기"));
    for (int job = 0; job < kJobCount; ++job) {
        EXPECT_EQ(GetDlgItemAs<QLabel>(host.chooser, CSelectJobDlg::kJobLabelIds[job])->text(),
                  QString::fromUtf16(GetJobName(job, 4)))
            << job;
    }
    g_Options.Language = 2;
    host.chooser->grab();
    EXPECT_EQ(Btn(host.chooser, CSelectJobDlg::IDC_EXIT)->text(), QStringLiteral("(&X)終了"));
    g_Options.Language = -1;  // never chosen reads as Korean
    host.chooser->grab();
    EXPECT_EQ(Btn(host.chooser, CSelectJobDlg::IDC_EXIT)->text(), QStringLiteral("(&X)종료"));
}

TEST(SelectJobDlg, EveryPaintLoadsThePortraitsOfTheCurrentSexType) {
    ShellTestEnvironment env;
    // Each bitmap a flat picture whose colour is its id.
    SetTreeBitmapSource([](int id) {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(QColor::fromRgb(static_cast<QRgb>(id)));
        return image;
    });
    const auto shownId = [](const CSelectJobDlg* chooser, int job) {
        const QPixmap picture = ButtonBitmap(Btn(chooser, CSelectJobDlg::kJobButtonIds[job]));
        return picture.isNull() ? -1 : static_cast<int>(picture.toImage().pixel(0, 0) & 0xFFFFFF);
    };
    ChooserHost host;
    host.chooser->ShowWindow(true);
    host.chooser->grab();
    for (int job = 0; job < kJobCount; ++job)
        EXPECT_EQ(shownId(host.chooser, job), FindJobRecord(job)->portrait[0][FindJobRecord(job)->maxGrade])
            << job;
    g_Options.SexType = 1;
    host.chooser->grab();
    for (int job = 0; job < kJobCount; ++job)
        EXPECT_EQ(shownId(host.chooser, job), FindJobRecord(job)->portrait[1][FindJobRecord(job)->maxGrade])
            << job;
    SetTreeBitmapSource({});
}

TEST(SelectJobDlg, ShowingSizesTheMainWindowKeepingItsCornerOrCentringIt) {
    ShellTestEnvironment env(QSize(1600, 1000));
    ChooserHost host(QPoint(100, 80));
    host.chooser->ShowWindow(true);
    ASSERT_FALSE(env.screen.moves.empty());
    EXPECT_EQ(env.screen.moves.back(), QRect(100, 80, 894, 369));
    EXPECT_EQ(host.window.frameGeometry().size(), QSize(894, 369));
    EXPECT_EQ(host.chooser->pos(), QPoint(0, 0));

    g_Options.AutoCenter = 1;
    host.chooser->ShowWindow(false);  // hiding sizes it too
    EXPECT_EQ(env.screen.moves.back(), QRect(353, 315, 894, 369));
    EXPECT_EQ(env.screen.moves.size(), 2u);
}

TEST(SelectJobDlg, AMainWindowOffTheScreenIsCentred) {
    ShellTestEnvironment env(QSize(1000, 800));
    const QSize outer(894, 369);
    const QPoint centred(53, 215);
    struct Case {
        QPoint at;
        bool centred;
    } cases[] = {
        {{-888, 10}, false},  // right edge at 6
        {{-889, 10}, true},   // right edge at 5
        {{994, 10}, false},   // left edge at width - 6
        {{995, 10}, true},    // left edge at width - 5
        {{10, -363}, false},  // bottom edge at 6
        {{10, -364}, true},  {{10, 794}, false}, {{10, 795}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.at.x() << "," << c.at.y());
        ChooserHost host;
        env.screen.MoveWindow(&host.window, QRect(c.at, outer));
        host.chooser->ShowWindow(true);
        EXPECT_EQ(env.screen.moves.back().topLeft(), c.centred ? centred : c.at);
    }
}

TEST_F(SelectJobDlgTest, EnterAndEscapeNeitherExitNorOpenTheAboutBox) {
    QAbstractButton* exit = Btn(host.chooser, CSelectJobDlg::IDC_EXIT);
    int exits = 0;
    QObject::connect(exit, &QAbstractButton::clicked, [&] { ++exits; });
    exit->setFocus();
    for (QWidget* target : {static_cast<QWidget*>(exit), static_cast<QWidget*>(host.chooser)}) {
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter);
        QTest::keyClick(target, Qt::Key_Escape);
    }
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(env.services.calls.empty());
    EXPECT_TRUE(host.chooser->isVisible());
    // Other keys still reach the buttons: Space presses the focused one.
    QTest::keyClick(exit, Qt::Key_Space);
    EXPECT_EQ(exits, 1);
}

TEST_F(SelectJobDlgTest, OptionsAndAboutRunTheirDialogsAndOptionsRepaints) {
    host.chooser->grab();
    env.services.onOptionsDialog = [] { g_Options.Language = 1; };
    QAbstractButton* options = Btn(host.chooser, CSelectJobDlg::IDC_OPTIONS);
    QTest::mouseClick(options, Qt::LeftButton, {}, options->rect().center());
    QAbstractButton* about = Btn(host.chooser, CSelectJobDlg::IDC_ABOUT);
    QTest::mouseClick(about, Qt::LeftButton, {}, about->rect().center());
    EXPECT_EQ(env.services.calls, (std::vector<std::string>{"RunOptionsDialog", "RunAboutDialog"}));
    QApplication::processEvents();
    host.chooser->grab();
    EXPECT_EQ(Btn(host.chooser, CSelectJobDlg::IDC_EXIT)->text(), QStringLiteral("e&Xit"));
    EXPECT_TRUE(host.chooser->isVisible());
}

TEST(SelectJobDlg, PictureButtonsDrawTheirPictureUnscaledInEveryState) {
    QPixmap picture(10, 6);
    picture.fill(Qt::red);
    QWidget host;
    auto* button = new QPushButton(&host);
    button->resize(40, 40);
    SetButtonBitmap(button, picture);
    for (bool down : {false, true}) {
        for (bool enabled : {true, false}) {
            button->setDown(down);
            button->setEnabled(enabled);
            const QImage image = button->grab().toImage();
            const int f = kBitmapButtonFrame;
            EXPECT_EQ(image.pixelColor(f, f), QColor(Qt::red));
            EXPECT_EQ(image.pixelColor(f + 9, f + 5), QColor(Qt::red));
            EXPECT_NE(image.pixelColor(f + 10, f + 5), QColor(Qt::red));
            EXPECT_NE(image.pixelColor(f + 5, f + 6), QColor(Qt::red));
        }
    }
}

}  // namespace
