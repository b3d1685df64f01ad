// Running a dialog modally. The program runs the dialog's own event loop;
// tests install a runner that drives the dialog with events instead, since a
// blocking loop cannot be driven from a test.
#pragma once

#include <functional>

class QDialog;

using ModalRunner = std::function<int(QDialog&)>;

// Installs the runner; an empty one restores QDialog::exec.
void SetModalRunner(ModalRunner runner);

// Runs the dialog through the installed runner and returns its result code.
// A dialog whose owner is not on screen (the first-run options dialog opens
// before the main window shows) is centred on the screen first.
int DoModal(QDialog& dialog);

// Centres the dialog on its screen's available area when it has no visible
// owner; leaves it to the usual placement over its owner otherwise.
void PlaceModalDialog(QDialog& dialog);
