// The message-box handler of the program: a QMessageBox with Qt's standard
// buttons, owned by the window the request names.
#pragma once

#include "platform/message_box.h"

#include <QMessageBox>
#include <QString>

class QWidget;

// Records which window stands for an owner (not owned; forgotten when the
// window is destroyed). A request whose owner has no window, or a hidden one,
// falls back to the open modal dialog (application boxes only), the main
// window, then the active window.
void SetMessageBoxOwner(MbOwner owner, QWidget* window);
QWidget* MessageBoxOwnerWindow(MbOwner owner);

QMessageBox::StandardButtons StandardButtonsOf(MbButtons buttons);
QMessageBox::Icon QtIconOf(MbIcon icon);
// The answer for a button the box returned; a box closed without a button
// gives the most cautious answer its buttons allow (Cancel, else No, else Ok).
MbResult ResultOf(MbButtons buttons, int button);

// Builds the box for a request (not shown), parented to its owner's window.
QMessageBox* CreateMessageBox(const MessageBoxRequest& request);

// Installs the handler that shows real boxes. A box requested from another
// thread is shown on the user-interface thread while the caller waits.
void InstallQtMessageBoxHandler();

// Loads Qt's own translations for the given locale (the system's by default)
// when they are installed, so standard buttons read in the user's language.
// Returns whether a translation was installed.
bool InstallQtTranslations(const QString& localeName = QString());
