// Entry point of the widget tests. Before Qt starts it selects the offscreen
// platform and points the configuration and data folders at a fresh temporary
// folder, so no test can read or write a real profile.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QTemporaryDir home;
    if (!home.isValid()) return 2;
    const QByteArray config = QDir(home.path()).filePath("config").toUtf8();
    const QByteArray data = QDir(home.path()).filePath("data").toUtf8();
    QDir().mkpath(QString::fromUtf8(config));
    QDir().mkpath(QString::fromUtf8(data));
    setenv("XDG_CONFIG_HOME", config.constData(), 1);
    setenv("XDG_DATA_HOME", data.constData(), 1);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tolvemar");
    QApplication::setOrganizationName("Tolvemar");
    return RUN_ALL_TESTS();
}
