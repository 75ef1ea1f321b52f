// Starts the program in-process with a throw-away settings folder and saves a picture of every
// top-level window as PNG files in the given folder, for checking the layout and the Japanese
// texts. Usage: vorle6-screenshots <output-folder> [<app-folder> [<serial-device> [<part>]]]
// With a serial device (for example the one qzpgm-sim prints), the main window is taken again
// after a Block Read from the board on that device, as main-window-read.png; <part> picks the
// device list's entry that begins with that name first.
#include "app/gui/MainWindow.h"
#include "app/gui/Startup.h"
#include "base/SettingsStore.h"
#include "link/PortDevices.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
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
    environment.appFolder = argc > 2 ? QDir(QString::fromLocal8Bit(argv[2])).absolutePath()
                                     : QCoreApplication::applicationDirPath() + "/..";
    environment.lockFilePath = config.path() + "/vorle6.lock";
    Startup startup(environment);
    if (!startup.run()) return 1;

    const QString serialDevice = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    QTimer::singleShot(300, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible()) continue;
            const QString name =
                window->objectName().isEmpty() ? QStringLiteral("window") : window->objectName();
            window->grab().save(output + "/" + name + ".png");
        }
        if (!serialDevice.isEmpty()) {
            SettingsStore settings;
            settings.save(SettingsKeys::kPorts, SettingsKeys::portKey(1), serialDevice);
            settings.save(SettingsKeys::kSettings, SettingsKeys::kComNo, QStringLiteral("0"));
            MainWindow* main = startup.mainWindow();
            if (argc > 4) {
                QComboBox* devices = main->controls().Combo_device;
                const QString part = QString::fromLocal8Bit(argv[4]);
                for (int i = 0; i < devices->count(); ++i) {
                    if (devices->itemText(i).section(' ', 0, 0) == part)
                        devices->setCurrentIndex(i);
                }
            }
            main->controls().Cmd_READ_all->click();
            main->grab().save(output + "/main-window-read.png");
        }
        app.quit();
    });
    return app.exec();
}
