#include "platform/qt/key_filter.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

TEST(EnterEscapeFilter, DropsEnterAndEscapeInCoveredWindowsOnly) {
    QDialog dialog;
    auto* button = new QPushButton(QStringLiteral("OK"), &dialog);
    button->setDefault(true);
    auto* edit = new QLineEdit(&dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(button);
    layout->addWidget(edit);
    EnterEscapeFilter::Instance().Cover(&dialog);
    QSignalSpy clicked(button, &QPushButton::clicked);
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    dialog.show();
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Enter);
    QTest::keyClick(button, Qt::Key_Escape);
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_EQ(rejected.count(), 0);
    EXPECT_TRUE(dialog.isVisible());
    // Other keys pass.
    QTest::keyClicks(edit, QStringLiteral("ab"));
    EXPECT_EQ(edit->text(), QStringLiteral("ab"));
    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 1);

    // Uncovered, Escape closes the dialog again.
    EnterEscapeFilter::Instance().Uncover(&dialog);
    QTest::keyClick(button, Qt::Key_Escape);
    EXPECT_EQ(rejected.count(), 1);
}

TEST(EnterEscapeFilter, ForgetsDestroyedWindows) {
    EnterEscapeFilter filter;
    QWidget other;
    {
        QWidget root;
        QWidget child(&root);
        filter.Cover(&root);
        EXPECT_TRUE(filter.Covers(&child));
        EXPECT_FALSE(filter.Covers(&other));
    }
    EXPECT_FALSE(filter.Covers(&other));
    filter.Cover(&other);
    EXPECT_TRUE(filter.Covers(&other));
}

}  // namespace
