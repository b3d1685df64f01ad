#include "platform/qt/modal.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

namespace {
ModalRunner& Runner() {
    static ModalRunner runner;
    return runner;
}
}  // namespace

void SetModalRunner(ModalRunner runner) { Runner() = std::move(runner); }

void PlaceModalDialog(QDialog& dialog) {
    const QWidget* owner = dialog.parentWidget();
    if (owner && owner->window()->isVisible()) return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    dialog.ensurePolished();
    dialog.adjustSize();
    const QRect area = screen->availableGeometry();
    QRect frame = dialog.frameGeometry();
    frame.moveCenter(area.center());
    // Keep the title bar reachable when the dialog is taller than the screen.
    frame.moveTop(qMax(frame.top(), area.top()));
    frame.moveLeft(qMax(frame.left(), area.left()));
    dialog.move(frame.topLeft());
}

int DoModal(QDialog& dialog) {
    if (Runner()) return Runner()(dialog);
    PlaceModalDialog(dialog);
    return dialog.exec();
}
