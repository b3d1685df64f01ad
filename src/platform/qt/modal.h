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
int DoModal(QDialog& dialog);
