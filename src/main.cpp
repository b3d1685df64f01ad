// The program: one application object, one main window run modally.
#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tolvemar");
    QApplication::setOrganizationName("Tolvemar");
    return 0;
}
