#include "platform/qt/qt_message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QTranslator>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(QtMessageBox, AnswersAreThePressedButtonOrTheMostCautiousOne) {
    EXPECT_EQ(ResultOf(MbButtons::YesNoCancel, QMessageBox::No), MbResult::No);
    EXPECT_EQ(ResultOf(MbButtons::YesNo, QMessageBox::Yes), MbResult::Yes);
    // Closed without a button, or with one it did not offer.
    EXPECT_EQ(ResultOf(MbButtons::YesNoCancel, QMessageBox::NoButton), MbResult::Cancel);
    EXPECT_EQ(ResultOf(MbButtons::YesNo, QMessageBox::NoButton), MbResult::No);
    EXPECT_EQ(ResultOf(MbButtons::YesNo, QMessageBox::Ok), MbResult::No);
    EXPECT_EQ(ResultOf(MbButtons::OkCancel, QMessageBox::Escape), MbResult::Cancel);
    EXPECT_EQ(ResultOf(MbButtons::Ok, QMessageBox::NoButton), MbResult::Ok);
}

TEST(QtMessageBox, BoxCarriesTheRequestAndBelongsToItsOwnersWindow) {
    QWidget mainWindow;
    QWidget other;
    auto* child = new QWidget(&other);
    mainWindow.show();
    SetMessageBoxOwner(MbOwner::MainWindow, &mainWindow);
    SetMessageBoxOwner(MbOwner::SelectJob, child);

    MessageBoxRequest request{MbOwner::SelectJob, u"저장할까요?\n<b>", u"Tolvemar", MbButtons::YesNoCancel,
                              MbIcon::Question};
    // A hidden owner falls back to the main window.
    std::unique_ptr<QMessageBox> box(CreateMessageBox(request));
    EXPECT_EQ(box->parentWidget(), &mainWindow);
    other.show();
    box.reset(CreateMessageBox(request));
    EXPECT_EQ(box->parentWidget(), &other);
    EXPECT_EQ(box->text(), QStringLiteral("저장할까요?\n<b>"));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Tolvemar"));
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));

    // Once the owner is gone, the main window is the owner.
    delete child;
    box.reset(CreateMessageBox(request));
    EXPECT_EQ(box->parentWidget(), &mainWindow);

    // An application box belongs to the modal dialog that is open.
    QDialog modal(&mainWindow);
    modal.setModal(true);
    modal.show();
    request.owner = MbOwner::Application;
    box.reset(CreateMessageBox(request));
    EXPECT_EQ(box->parentWidget(), &modal);
    modal.hide();
    box.reset(CreateMessageBox(request));
    EXPECT_EQ(box->parentWidget(), &mainWindow);
    SetMessageBoxOwner(MbOwner::MainWindow, nullptr);
}

TEST(QtMessageBox, ABoxAskedForFromAnotherThreadIsShownOnTheUserInterfaceThread) {
    InstallQtMessageBoxHandler();
    // Answer the box as soon as it appears, on the thread that shows it.
    QThread* shownOn = nullptr;
    QObject watcher;
    QTimer* timer = new QTimer(&watcher);
    QObject::connect(timer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shownOn = QThread::currentThread();
            box->button(QMessageBox::No)->click();
        }
    });
    timer->start(5);
    MbResult answer = MbResult::Ok;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        answer =
            ShowMessageBox({MbOwner::Application, u"?", u"Tolvemar", MbButtons::YesNo, MbIcon::Question});
    }));
    worker->start();
    while (!worker->isFinished()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker->wait();
    SetMessageBoxHandler(nullptr);
    EXPECT_EQ(answer, MbResult::No);
    EXPECT_EQ(shownOn, QCoreApplication::instance()->thread());
}

TEST(QtMessageBox, QtsOwnTranslationsGiveKoreanButtonTexts) {
    const QString english = QCoreApplication::translate("QPlatformTheme", "&Yes");
    ASSERT_TRUE(InstallQtTranslations(QStringLiteral("ko_KR")));
    const QString korean = QCoreApplication::translate("QPlatformTheme", "&Yes");
    EXPECT_NE(korean, english);
    EXPECT_TRUE(korean.contains(QStringLiteral("예"))) << korean.toStdString();
    // Leave the other tests in English.
    for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>())
        QCoreApplication::removeTranslator(t), delete t;
    EXPECT_FALSE(InstallQtTranslations(QStringLiteral("xx_XX")));
}

}  // namespace
