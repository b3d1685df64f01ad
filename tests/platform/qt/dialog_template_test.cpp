#include "platform/qt/dialog_template.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(DialogUnits, ConvertWithTheDialogFontsBaseUnits) {
    EXPECT_EQ(DialogUnitsToPixelsX(4, kTahoma9BaseUnits), 7);
    EXPECT_EQ(DialogUnitsToPixelsY(8, kTahoma9BaseUnits), 14);
    EXPECT_EQ(DialogUnitsToPixelsX(186, kTahoma9BaseUnits), 326);
    EXPECT_EQ(DialogUnitsToPixelsY(9, kTahoma9BaseUnits), 16);
    EXPECT_EQ(DialogUnitsToPixelsX(295, kShellDlg8BaseUnits), 443);
    EXPECT_EQ(DialogUnitsToPixelsY(209, kShellDlg8BaseUnits), 340);
    // Sizes are converted like positions: equal controls stay equal wherever they stand.
    EXPECT_EQ(DialogRectToPixels(186, 9, 49, 14, kTahoma9BaseUnits), (PixelRect{326, 16, 86, 25}));
    EXPECT_EQ(DialogRectToPixels(187, 47, 49, 14, kTahoma9BaseUnits), (PixelRect{327, 82, 86, 25}));
}

TEST(DialogTemplate, BuildsControlsFindableById) {
    const DialogTemplate dialog{
        1,
        QStringLiteral("Test"),
        DialogFontFace::Tahoma9,
        100,
        50,
        {{1, ControlKind::DefPushButton, QStringLiteral("OK"), 10, 10, 40, 14},
         {2, ControlKind::CheckBox, QStringLiteral("Check"), 10, 30, 40, 10},
         {3, ControlKind::Radio, QStringLiteral("A"), 60, 30, 20, 10},
         {4, ControlKind::Radio, QStringLiteral("B"), 80, 30, 20, 10},
         {5, ControlKind::PushLikeCheckBox, QStringLiteral("1"), 60, 10, 13, 12, false}}};
    QWidget host;
    CreateTemplateControls(&host, dialog);
    EXPECT_EQ(host.size(), QSize(175, 88));
    auto* ok = GetDlgItemAs<QPushButton>(&host, 1);
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(ok->geometry(), QRect(18, 18, 70, 25));
    ASSERT_NE(GetDlgItemAs<QCheckBox>(&host, 2), nullptr);
    auto* a = GetDlgItemAs<QRadioButton>(&host, 3);
    auto* b = GetDlgItemAs<QRadioButton>(&host, 4);
    ASSERT_TRUE(a && b);
    a->setChecked(true);
    b->setChecked(true);
    EXPECT_TRUE(a->isChecked());  // radios form groups of their own
    auto* slot = GetDlgItemAs<QPushButton>(&host, 5);
    ASSERT_NE(slot, nullptr);
    EXPECT_TRUE(slot->isCheckable());
    EXPECT_TRUE(slot->isHidden());
    EXPECT_EQ(GetDlgItem(&host, 99), nullptr);
    EXPECT_EQ(GetDlgItem(nullptr, 1), nullptr);
}

}  // namespace
