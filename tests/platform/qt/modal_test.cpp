#include "platform/qt/modal.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

TEST(ModalPlacement, DialogWithoutVisibleOwnerIsCentredOnTheScreen) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget hiddenOwner;
    hiddenOwner.setGeometry(area.right() - 50, area.bottom() - 50, 900, 900);
    for (QWidget* owner : {static_cast<QWidget*>(nullptr), &hiddenOwner}) {
        QDialog dialog(owner);
        dialog.setFixedSize(300, 200);
        PlaceModalDialog(dialog);
        const QPoint centre = dialog.frameGeometry().center();
        EXPECT_LE(std::abs(centre.x() - area.center().x()), 1);
        EXPECT_LE(std::abs(centre.y() - area.center().y()), 1);
    }
}

TEST(ModalPlacement, DialogOfAVisibleOwnerIsLeftToTheUsualPlacement) {
    QWidget owner;
    owner.setGeometry(10, 10, 400, 300);
    owner.show();
    QDialog dialog(&owner);
    dialog.move(3, 4);
    PlaceModalDialog(dialog);
    EXPECT_EQ(dialog.pos(), QPoint(3, 4));
}

}  // namespace
