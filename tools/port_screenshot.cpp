// Saves pictures of the port settings window (frmCom) and its device list (frmPortDevice) with
// a throw-away settings folder, for checking the layout and for the manual. With a serial
// device (for example the link that qzpgm-sim makes), port 1 points at it and the window is
// taken again after a board search, as frmCom-detected.png.
// Usage: vorle6-port-screenshot [--lang ja|en] <output-folder> [<serial-device>]
#include "base/SettingsStore.h"
#include "base/UserDialogs.h"
#include "link/PortDevices.h"
#include "link/PortHolders.h"
#include "link/QtSerialPort.h"
#include "link/SerialDevices.h"
#include "link/gui/FrmCom.h"
#include "link/gui/FrmPortDevice.h"
#include "ui/ProgramTranslations.h"
#include "ui/gui/ApplicationSetup.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

namespace {

// Answers every question with OK, so that the board search runs without a person.
class AgreeingDialogs : public UserDialogs {
public:
    MessageAnswer showMessage(const MessageBoxRequest&) override { return MessageAnswer::Ok; }
    FileDialogResult showFileDialog(const FileDialogRequest&) override { return {}; }
    TextInputResult askText(const TextInputRequest&) override { return {}; }
};

bool save(QWidget& window, const QString& folder, const QString& name)
{
    QCoreApplication::processEvents();
    return window.grab().save(QDir(folder).filePath(name));
}

}  // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    ApplicationSetup::apply(app);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    UiLanguage language = UiLanguage::Japanese;
    if (arguments.size() > 1 && arguments.first() == QLatin1String("--lang")) {
        arguments.removeFirst();
        const std::optional<UiLanguage> chosen = languageFromCode(arguments.takeFirst());
        if (!chosen) return 2;
        language = *chosen;
    }
    if (arguments.isEmpty()) return 2;
    // The translations the build puts beside build/vorle6.
    ProgramTranslations translations;
    translations.install(language, QCoreApplication::applicationDirPath() + "/../");
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
    const QString output = arguments.value(0);
    QDir().mkpath(output);
    const QString device = arguments.value(1);

    SettingsStore settings;
    if (!device.isEmpty()) settings.save(SettingsKeys::kPorts, SettingsKeys::portKey(1), device);
    QtSerialPort port;
    AgreeingDialogs dialogs;
    bool saved = true;
    {
        FrmCom window(port, settings, dialogs);
        window.Form_Load();
        window.show();
        saved &= save(window, output, QStringLiteral("frmCom.png"));
        if (!device.isEmpty()) {
            window.Cmd_DetectBoard_Click();
            saved &= save(window, output, QStringLiteral("frmCom-detected.png"));
        }
        window.close();
    }

    const QList<SerialDevice> devices = SerialDevices().present();
    const PortHolders holders;
    QStringList held;
    for (const SerialDevice& present : devices) {
        const auto holder = holders.holderOf(present.path);
        held.append(holder ? PortHolders::describe(*holder) : QString());
    }
    FrmPortDevice list(1, devices, held, device);
    list.show();
    saved &= save(list, output, QStringLiteral("frmPortDevice.png"));
    return saved ? 0 : 1;
}
