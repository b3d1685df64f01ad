#include "platform/qt/modal.h"

#include <QDialog>

namespace {
ModalRunner& Runner() {
    static ModalRunner runner;
    return runner;
}
}  // namespace

void SetModalRunner(ModalRunner runner) { Runner() = std::move(runner); }

int DoModal(QDialog& dialog) {
    if (Runner()) return Runner()(dialog);
    return dialog.exec();
}
