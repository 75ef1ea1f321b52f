// Saves a picture of the production window (frmProduction) after two rounds on two qzpgm-sim
// boards, the second of which has an empty socket, for the manual: the job, the boards, the
// line database with the next value, a pass and a fail, the counters and the session's log.
// The line database and the settings live in a throw-away folder.
// Usage: vorle6-production-screenshot [--lang ja|en] <output.png> <app-folder> <qzpgm-sim>
// Without a display: QT_QPA_PLATFORM=offscreen:configfile=tests/support/screens/
// desktop-1920x1080.json, so that the window keeps its own size.
#include "SimBoard.h"
#include "app/gui/MainWindow.h"
#include "app/gui/Startup.h"
#include "base/SettingsStore.h"
#include "base/UiLanguage.h"
#include "base/UserDialogs.h"
#include "link/DemoBoard.h"
#include "link/PortDevices.h"
#include "production/JobFile.h"
#include "production/Sha256.h"
#include "production/gui/FrmProduction.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const QString kPart = QStringLiteral("24C64");
constexpr qint64 kPartSize = 8192;

// Picks the job file and the second board's device as a person would, and agrees to the rest.
class ScriptedDialogs : public UserDialogs {
public:
    QString job;
    QString secondBoard;

    MessageAnswer showMessage(const MessageBoxRequest&) override { return MessageAnswer::Ok; }
    FileDialogResult showFileDialog(const FileDialogRequest&) override
    {
        FileDialogResult result;
        result.accepted = true;
        result.fileName = job;
        return result;
    }
    TextInputResult askText(const TextInputRequest&) override { return {true, secondBoard}; }
};

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A job of the whole part with a serial number and a MAC address.
QString writeJob(const QTemporaryDir& folder)
{
    const QByteArray image = DemoBoard::sampleImage(kPartSize);
    if (!writeFile(folder.filePath("sensor.bin"), image)) return {};
    ProductionJob job;
    job.name = QStringLiteral("sensor-board");
    job.partName = kPart;
    job.partSize = kPartSize;
    job.imagePath = QStringLiteral("sensor.bin");
    job.imageSha256 = sha256Text(image);
    job.length = kPartSize;
    SerialField serial;
    serial.name = QStringLiteral("serial");
    serial.address = 0x400;
    serial.length = 8;
    serial.start = 1001;
    serial.last = 99999999;
    SerialField mac;
    mac.name = QStringLiteral("mac");
    mac.address = 0x410;
    mac.length = SerialField::kMacBytes;
    mac.format = SerialFormat::Mac;
    mac.macPrefix = QByteArray::fromHex("02005E");
    mac.start = 1;
    mac.last = 0xFFFFFF;
    job.serials = {serial, mac};
    const QString path = folder.filePath("sensor.json");
    return writeFile(path, jobFileText(job)) ? path : QString();
}

}  // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir folder(QDir::temp().filePath(QStringLiteral("line-XXXXXX")));
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
        qputenv(name, folder.path().toLocal8Bit());
    }
    QApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    const std::optional<UiLanguage> language = Startup::languageFromArguments(arguments);
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--lang")); at > 0) {
        arguments.remove(at, 2);
    }
    if (arguments.size() < 4) {
        std::fprintf(stderr,
                     "usage: vorle6-production-screenshot [--lang ja|en] <output.png> "
                     "<app-folder> <qzpgm-sim>\n");
        return 2;
    }
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    const QString output = arguments.at(1);
    const QString appFolder = QDir(arguments.at(2)).absolutePath();
    const QString sim = arguments.at(3);
    const QStringList part{"--data", QDir(appFolder).filePath("vorle6.ini"), "--device", kPart};
    const SimBoard first(sim, part);
    const SimBoard second(sim, part + QStringList{"--fault", "nochip"});
    {
        SettingsStore settings;
        settings.save(SettingsKeys::kPorts, SettingsKeys::portKey(1), first.device());
        settings.save(SettingsKeys::kSettings, SettingsKeys::kComNo, QStringLiteral("0"));
    }
    ScriptedDialogs dialogs;
    dialogs.job = writeJob(folder);
    dialogs.secondBoard = second.device();
    if (dialogs.job.isEmpty() || first.device().isEmpty() || second.device().isEmpty()) return 1;

    Startup::Environment environment;
    environment.appFolder = appFolder;
    environment.lockFilePath = folder.filePath("vorle6.lock");
    environment.dialogs = &dialogs;
    environment.language = language;
    Startup startup(environment);
    if (!startup.run()) return 1;
    startup.mainWindow()->controls().mnuProduction->trigger();
    auto* production = startup.mainWindow()->findChild<FrmProduction*>();
    if (!production) return 1;
    production->controls().Cmd_OpenJob->click();
    production->controls().Cmd_AddPort->click();
    production->controls().Cmd_Round->click();
    production->controls().Cmd_Round->click();
    QCoreApplication::processEvents();
    return production->grab().save(output) ? 0 : 1;
}
