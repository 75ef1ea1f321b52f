// Starts the program in-process with a throw-away settings folder and saves a picture of every
// top-level window as PNG files in the given folder, for checking the layout and the Japanese
// texts. Usage: vorle6-screenshots <output-folder> [<app-folder>]
#include "app/gui/MainWindow.h"
#include "app/gui/Startup.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

int main(int argc, char* argv[])
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    const QString output = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(output);

    Startup::Environment environment;
    environment.appFolder =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : QCoreApplication::applicationDirPath() + "/..";
    environment.lockFilePath = config.path() + "/vorle6.lock";
    Startup startup(environment);
    if (!startup.run()) return 1;

    QTimer::singleShot(300, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible()) continue;
            const QString name = window->objectName().isEmpty() ? QStringLiteral("window")
                                                                : window->objectName();
            window->grab().save(output + "/" + name + ".png");
        }
        app.quit();
    });
    return app.exec();
}
