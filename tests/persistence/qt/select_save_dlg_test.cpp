#include "persistence/qt/select_save_dlg.h"

#include "persistence/qt/save_file_dialog.h"
#include "platform/message_box.h"
#include "platform/qt/dialog_template.h"
#include "platform/qt/qt_message_box.h"
#include "shell/options.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

class SelectSaveDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = g_Options;
        SetMessageBoxHandler([this](const MessageBoxRequest& request) {
            boxes_.push_back(request);
            return MbResult::Ok;
        });
    }
    void TearDown() override {
        SetMessageBoxHandler(nullptr);
        g_Options = saved_;
    }

    static QRadioButton* Radio(const QWidget& dlg, int id) { return GetDlgItemAs<QRadioButton>(&dlg, id); }
    static void Click(const QWidget& dlg, int id) {
        QWidget* control = GetDlgItem(&dlg, id);
        ASSERT_NE(control, nullptr) << id;
        // Click near the left edge, on the indicator or text.
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(5, control->height() / 2));
    }

    AppOptions saved_;
    std::vector<MessageBoxRequest> boxes_;
};

TEST_F(SelectSaveDlgTest, BuildsTemplate178WithLocalizedCaptions) {
    g_Options.Language = 1;
    CSelectSaveDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("파일저장"));
    EXPECT_EQ(dlg.size(), TemplateClientSize(SelectSaveTemplate()));
    EXPECT_EQ(GetDlgItemAs<QCheckBox>(&dlg, IDC_NOJOB)->text(), QStringLiteral("None Selection"));
    EXPECT_EQ(GetDlgItemAs<QGroupBox>(&dlg, IDC_JOB_GROUP)->title(), QStringLiteral("Select Job to Autorun"));
    EXPECT_EQ(GetDlgItemAs<QGroupBox>(&dlg, IDC_SLOT_GROUP)->title(), QStringLiteral("Select Slot to Save"));
    EXPECT_EQ(GetDlgItemAs<QPushButton>(&dlg, IDC_SAVE_OK)->text(), QStringLiteral("Ok"));
    EXPECT_TRUE(GetDlgItemAs<QPushButton>(&dlg, IDC_SAVE_OK)->isDefault());
    EXPECT_EQ(Radio(dlg, IDC_SLOT_RADIO2)->text(), QStringLiteral("Slot2"));
    // Radio 1 in the right column of the first row, radio 2 in the left of the second.
    const DialogBaseUnits base = kTahoma9BaseUnits;
    EXPECT_EQ(Radio(dlg, 1102)->geometry().topLeft(),
              QPoint(DialogUnitsToPixelsX(77, base), DialogUnitsToPixelsY(40, base)));
    EXPECT_EQ(Radio(dlg, 1103)->geometry().topLeft(),
              QPoint(DialogUnitsToPixelsX(23, base), DialogUnitsToPixelsY(52, base)));
    EXPECT_TRUE(Radio(dlg, IDC_SLOT_RADIO1)->isChecked());
    for (int k = 0; k < kSaveDlgJobRadioCount; ++k) EXPECT_FALSE(Radio(dlg, 1101 + k)->isChecked());
}

TEST_F(SelectSaveDlgTest, ClickingTheCheckBoxDisablesTheJobAndSlotControls) {
    CSelectSaveDlg dlg;
    dlg.show();
    Click(dlg, IDC_NOJOB);
    EXPECT_TRUE(GetDlgItemAs<QCheckBox>(&dlg, IDC_NOJOB)->isChecked());
    for (int k = 0; k < kSaveDlgJobRadioCount; ++k) EXPECT_FALSE(Radio(dlg, 1101 + k)->isEnabled());
    for (int id : {1075, 1077, 1078, 1080, 1081}) EXPECT_FALSE(GetDlgItem(&dlg, id)->isEnabled()) << id;
    EXPECT_TRUE(GetDlgItem(&dlg, IDC_SAVE_OK)->isEnabled());
    EXPECT_TRUE(Radio(dlg, IDC_SLOT_RADIO1)->isChecked());  // keeps its check
    Click(dlg, IDC_NOJOB);
    for (int id : {1101, 1119, 1075, 1077, 1078, 1080, 1081})
        EXPECT_TRUE(GetDlgItem(&dlg, id)->isEnabled()) << id;
}

TEST_F(SelectSaveDlgTest, RadiosAreExclusiveWithinTheirGroupAndOkReturnsTheJob) {
    CSelectSaveDlg dlg;
    dlg.show();
    Click(dlg, 1101);
    Click(dlg, 1118);
    EXPECT_FALSE(Radio(dlg, 1101)->isChecked());
    EXPECT_TRUE(Radio(dlg, 1118)->isChecked());
    Click(dlg, IDC_SLOT_RADIO3);
    EXPECT_FALSE(Radio(dlg, IDC_SLOT_RADIO1)->isChecked());
    EXPECT_TRUE(Radio(dlg, 1118)->isChecked());  // the groups do not clear each other
    Click(dlg, IDC_SAVE_OK);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.Job(), 19);
    EXPECT_EQ(dlg.Slot(), 2);
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(SelectSaveDlgTest, OkWithoutAJobShowsTheErrorAndStaysOpen) {
    CSelectSaveDlg dlg;
    dlg.show();
    QTest::keyClick(&dlg, Qt::Key_Return);  // Enter presses the default button
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0], (MessageBoxRequest{MbOwner::SelectSaveDlg, u"직업을 선택하세요", u"오류",
                                            MbButtons::Ok, MbIcon::Stop}));
    EXPECT_TRUE(dlg.isVisible());

    Click(dlg, IDC_NOJOB);
    Click(dlg, IDC_SAVE_OK);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Job(), NO_JOB);
    EXPECT_EQ(dlg.Slot(), 0);
}

// Catches error boxes centred on the main window instead of the dialog, and
// radios taking part in the Tab order.
TEST_F(SelectSaveDlgTest, OwnsItsErrorBoxesAndTabsOnlyThroughCheckBoxOkAndCancel) {
    // A main window registered and shown, as in the program: a box without an
    // owner of its own would go to it.
    QWidget mainWindow;
    SetMessageBoxOwner(MbOwner::MainWindow, &mainWindow);
    mainWindow.show();
    CSelectSaveDlg dlg;
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    EXPECT_EQ(MessageBoxOwnerWindow(MbOwner::SelectSaveDlg), &dlg);
    GetDlgItem(&dlg, IDC_NOJOB)->setFocus();
    std::vector<int> order;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.push_back(QApplication::focusWidget()->objectName().mid(7).toInt());
    }
    EXPECT_EQ(order, (std::vector<int>{IDC_SAVE_OK, IDC_SAVE_CANCEL, IDC_NOJOB}));
}

TEST_F(SelectSaveDlgTest, CancelRejects) {
    CSelectSaveDlg dlg;
    dlg.show();
    Click(dlg, 1105);
    Click(dlg, IDC_SAVE_CANCEL);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(SelectSaveDlgTest, DisabledControlsDrawDifferently) {
    CSelectSaveDlg dlg;
    dlg.show();
    QWidget* radio = GetDlgItem(&dlg, 1101);
    QImage before(radio->size(), QImage::Format_ARGB32);
    radio->render(&before);
    Click(dlg, IDC_NOJOB);
    QImage after(radio->size(), QImage::Format_ARGB32);
    radio->render(&after);
    EXPECT_NE(before, after);
}

TEST(SaveFileDialogs, UseTheSaveFileFiltersAndSuffix) {
    QFileDialog save;
    ConfigureSaveFileDialog(save);
    EXPECT_EQ(save.nameFilters(),
              QStringList({QStringLiteral("Tolvemar Save Files(*.tvf)"), QStringLiteral("All Files (*)")}));
    EXPECT_EQ(save.defaultSuffix(), QStringLiteral("tvf"));
    EXPECT_EQ(save.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(save.testOption(QFileDialog::DontConfirmOverwrite));

    QFileDialog open;
    ConfigureOpenFileDialog(open);
    EXPECT_EQ(open.nameFilters(), save.nameFilters());
    EXPECT_EQ(open.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(open.fileMode(), QFileDialog::ExistingFile);
}

}  // namespace
