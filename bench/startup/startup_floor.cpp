// The floor of the start-up measurement: the least a Qt Widgets program does
// to show a window, one dialog with one button, ending at its first paint.
#include "first_paint.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char** argv) {
    const auto start = FirstPaintExit::Clock::now();
    QApplication app(argc, argv);
    QApplication::setApplicationName("TolvemarFloor");
    QApplication::setOrganizationName("Tolvemar");
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Floor"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QPushButton(QStringLiteral("OK"), &dialog));
    FirstPaintExit exitAtPaint(start, [&dialog](QWidget* w) { return w == &dialog; });
    dialog.exec();
    return exitAtPaint.Painted() ? 0 : 1;
}
