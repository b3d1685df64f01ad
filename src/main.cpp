// The program: one application object, one main window run modally.
#include "shell/qt/tolvemar_app.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tolvemar");
    QApplication::setOrganizationName("Tolvemar");
    CTolvemarApp theApp;
    theApp.InitInstance();
    return 0;
}
