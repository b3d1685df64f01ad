#include "platform/qt/qt_message_box.h"

#include "platform/qt/focus_rect.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMetaObject>
#include <QPointer>
#include <QPushButton>
#include <QThread>
#include <QTranslator>
#include <QWidget>

#include <map>

namespace {
std::map<MbOwner, QPointer<QWidget>>& Owners() {
    static std::map<MbOwner, QPointer<QWidget>> owners;
    return owners;
}

QWidget* VisibleOwner(MbOwner owner) {
    const auto it = Owners().find(owner);
    if (it == Owners().end() || !it->second) return nullptr;
    QWidget* window = it->second->window();
    return window->isVisible() ? window : nullptr;
}

MbResult ShowOnThisThread(const MessageBoxRequest& request) {
    QMessageBox* box = CreateMessageBox(request);
    const int button = box->exec();
    delete box;
    return ResultOf(request.buttons, button);
}
}  // namespace

void SetMessageBoxOwner(MbOwner owner, QWidget* window) { Owners()[owner] = window; }

QWidget* MessageBoxOwnerWindow(MbOwner owner) {
    if (QWidget* window = VisibleOwner(owner)) return window;
    // An application box belongs to the dialog the user is working in.
    if (owner == MbOwner::Application) {
        if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    }
    if (QWidget* window = VisibleOwner(MbOwner::MainWindow)) return window;
    return QApplication::activeWindow();
}

QMessageBox::StandardButtons StandardButtonsOf(MbButtons buttons) {
    switch (buttons) {
    case MbButtons::Ok: return QMessageBox::Ok;
    case MbButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MbButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MbButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon QtIconOf(MbIcon icon) {
    switch (icon) {
    case MbIcon::None: return QMessageBox::NoIcon;
    case MbIcon::Stop: return QMessageBox::Critical;
    case MbIcon::Question: return QMessageBox::Question;
    case MbIcon::Exclamation: return QMessageBox::Warning;
    case MbIcon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

MbResult ResultOf(MbButtons buttons, int button) {
    const QMessageBox::StandardButtons offered = StandardButtonsOf(buttons);
    const auto pressed = static_cast<QMessageBox::StandardButton>(button);
    if (offered.testFlag(pressed)) {
        switch (pressed) {
        case QMessageBox::Ok: return MbResult::Ok;
        case QMessageBox::Cancel: return MbResult::Cancel;
        case QMessageBox::Yes: return MbResult::Yes;
        case QMessageBox::No: return MbResult::No;
        default: break;
        }
    }
    if (offered.testFlag(QMessageBox::Cancel)) return MbResult::Cancel;
    if (offered.testFlag(QMessageBox::No)) return MbResult::No;
    return MbResult::Ok;
}

QMessageBox* CreateMessageBox(const MessageBoxRequest& request) {
    auto* box = new QMessageBox(QtIconOf(request.icon), QString::fromStdU16String(request.caption),
                                QString::fromStdU16String(request.text), StandardButtonsOf(request.buttons),
                                MessageBoxOwnerWindow(request.owner));
    box->setTextFormat(Qt::PlainText);
    for (QAbstractButton* button : box->buttons()) ShowFocusRectOnButton(qobject_cast<QPushButton*>(button));
    // Yes is the first button of every Yes/No box, Ok of every Ok box.
    box->setDefaultButton(request.buttons == MbButtons::YesNo || request.buttons == MbButtons::YesNoCancel
                              ? QMessageBox::Yes
                              : QMessageBox::Ok);
    return box;
}

void InstallQtMessageBoxHandler() {
    SetMessageBoxHandler([](const MessageBoxRequest& request) {
        QCoreApplication* app = QCoreApplication::instance();
        if (!app || QThread::currentThread() == app->thread()) return ShowOnThisThread(request);
        MbResult result = ResultOf(request.buttons, QMessageBox::NoButton);
        QMetaObject::invokeMethod(
            app, [&] { result = ShowOnThisThread(request); }, Qt::BlockingQueuedConnection);
        return result;
    });
}

bool InstallQtTranslations(const QString& localeName) {
    const QLocale locale = localeName.isEmpty() ? QLocale::system() : QLocale(localeName);
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}
