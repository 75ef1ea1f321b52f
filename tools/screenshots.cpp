// Starts the program in-process with a throw-away settings folder and saves a picture of every
// top-level window as PNG files in the given folder, for checking the layout and the Japanese
// texts.
//   vorle6-screenshots [--desktop] [--about] [--part NAME] [--lang ja|en] <output-folder>
//                      [<app-folder> [<serial-device> [<part>]]]
// --desktop also saves desktop.png: the screen's available area with the windows where the
// program put them (each under a plain title bar), to check their placement on small screens.
// --about opens the about window first, as Help > version information does.
// --part picks the device list's entry that begins with NAME before the pictures are taken.
// --lang shows the windows in that language, as the program's own --lang does.
// With a serial device (for example the one qzpgm-sim prints), the main window is taken again
// after a Block Read from the board on that device, as main-window-read.png; <part> picks the
// device for that read.
// The screen comes from the platform: QT_QPA_PLATFORM=offscreen:configfile=<screens.json> and
// QT_SCALE_FACTOR set it without a display (tests/support/screens/ holds two).
#include "app/gui/MainWindow.h"
#include "app/gui/Startup.h"
#include "base/SettingsStore.h"
#include "base/UiLanguage.h"
#include "link/PortDevices.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

namespace {

void selectPart(MainWindow& main, const QString& part)
{
    QComboBox* devices = main.controls().Combo_device;
    for (int i = 0; i < devices->count(); ++i) {
        if (devices->itemText(i).section(' ', 0, 0) == part) devices->setCurrentIndex(i);
    }
}

// The screen as a window manager would show it: every visible window at its place, its
// contents under a title bar with its caption.
QImage desktopPicture(const QScreen& screen)
{
    constexpr int kTitleBar = 24;
    const QRect area = screen.availableGeometry();
    const qreal ratio = screen.devicePixelRatio();
    QImage picture((QSizeF(area.size()) * ratio).toSize(), QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    picture.fill(QColor(0x4A, 0x5D, 0x73));
    QPainter painter(&picture);
    painter.translate(-area.topLeft());
    // Owned windows (the insertion-direction window) above the main window.
    QList<QWidget*> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible()) continue;
        if (window->parentWidget()) {
            windows.append(window);
        } else {
            windows.prepend(window);
        }
    }
    for (QWidget* window : windows) {
        const QRect client = window->geometry();
        const QRect title(client.left(), client.top() - kTitleBar, client.width(), kTitleBar);
        painter.fillRect(title, QColor(0x2B, 0x33, 0x40));
        painter.setPen(Qt::white);
        painter.drawText(title.adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft,
                         window->windowTitle());
        painter.drawPixmap(client.topLeft(), window->grab());
        painter.setPen(QColor(0x2B, 0x33, 0x40));
        painter.drawRect(client.adjusted(-1, -kTitleBar, 0, 0));
    }
    return picture;
}

}  // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    bool desktop = false;
    bool about = false;
    QString firstPart;
    std::optional<UiLanguage> language;
    while (!arguments.isEmpty() && arguments.first().startsWith(QLatin1String("--"))) {
        const QString option = arguments.takeFirst();
        if (option == QLatin1String("--desktop")) {
            desktop = true;
        } else if (option == QLatin1String("--about")) {
            about = true;
        } else if (option == QLatin1String("--part") && !arguments.isEmpty()) {
            firstPart = arguments.takeFirst();
        } else if (option == QLatin1String("--lang") && !arguments.isEmpty()) {
            language = languageFromCode(arguments.takeFirst());
            if (!language) return 2;
        } else {
            return 2;
        }
    }
    if (arguments.isEmpty()) return 2;
    const QString output = arguments.value(0);
    QDir().mkpath(output);

    Startup::Environment environment;
    environment.appFolder = arguments.size() > 1 ? QDir(arguments.value(1)).absolutePath()
                                                 : QCoreApplication::applicationDirPath() + "/..";
    environment.lockFilePath = config.path() + "/vorle6.lock";
    environment.language = language;
    Startup startup(environment);
    if (!startup.run()) return 1;
    MainWindow* main = startup.mainWindow();
    if (!firstPart.isEmpty()) selectPart(*main, firstPart);
    if (about) main->controls().mnuHelpAbout->trigger();

    const QString serialDevice = arguments.value(2);
    QTimer::singleShot(300, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible()) continue;
            const QString name =
                window->objectName().isEmpty() ? QStringLiteral("window") : window->objectName();
            window->grab().save(output + "/" + name + ".png");
        }
        if (desktop && main->screen())
            desktopPicture(*main->screen()).save(output + "/desktop.png");
        if (!serialDevice.isEmpty()) {
            SettingsStore settings;
            settings.save(SettingsKeys::kPorts, SettingsKeys::portKey(1), serialDevice);
            settings.save(SettingsKeys::kSettings, SettingsKeys::kComNo, QStringLiteral("0"));
            if (arguments.size() > 3) selectPart(*main, arguments.value(3));
            main->controls().Cmd_READ_all->click();
            main->grab().save(output + "/main-window-read.png");
        }
        app.quit();
    });
    return app.exec();
}
