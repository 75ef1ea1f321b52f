// Saves a picture of the main window holding a 256-byte image with text and half-width
// katakana, for checking the grid's columns and the byte editor by eye.
// Usage: vorle6-image-screenshot <output.png>
#include "app/gui/MainWindow.h"
#include "app/gui/MainWindowControls.h"
#include "base/DataFileReader.h"
#include "base/DesktopOpener.h"
#include "base/SettingsStore.h"
#include "base/UserDialogs.h"
#include "devices/gui/DevicePanel.h"
#include "image/gui/ImageView.h"
#include "session/AppServices.h"
#include "session/ProgramState.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QSettings>
#include <QStringEncoder>
#include <QTemporaryDir>

namespace {

class SilentDialogs : public UserDialogs {
public:
    MessageAnswer showMessage(const MessageBoxRequest&) override { return MessageAnswer::Ok; }
    FileDialogResult showFileDialog(const FileDialogRequest&) override { return {}; }
    TextInputResult askText(const TextInputRequest&) override { return {}; }
};

class NoDesktop : public DesktopOpener {
public:
    bool openFile(const QString&) override { return false; }
    bool openUrl(const QString&) override { return false; }
};

}  // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());

    QTemporaryDir appFolder;
    QFile::copy(QStringLiteral(VORLE_DATA_FILE), appFolder.path() + "/vorle6.ini");
    ProgramState state;
    state.appFolder = appFolder.path() + "/";
    state.catalogue = DeviceCatalogue(readDataFile(state.appFolder + "vorle6.ini")->rows);
    SettingsStore settings;
    SilentDialogs dialogs;
    NoDesktop desktop;
    MainWindow window(AppServices{state, settings, dialogs, desktop});
    window.Form_Load();
    QStringList notices;
    window.devicePanel().fillDeviceList(notices);
    window.controls().Combo_device->setCurrentIndex(
        state.catalogue.indexOf(QStringLiteral("24C02")));

    QStringEncoder shiftJis("Shift_JIS");
    const QByteArray text =
        shiftJis.encode(QStringLiteral("VORLE EEPROM image, \"24C02\" 256 bytes. ｼﾘｱﾙ ｲｰﾋﾟｰﾛﾑ "
                                       "ﾌﾟﾛｸﾞﾗﾏｰ ﾃｽﾄ ﾃﾞｰﾀ｡ 0123456789 ABCDEF abcdef ~!@#$%^&*()"));
    for (qint64 a = 0; a < text.size() && a < state.image.size(); ++a) {
        state.image.set(a, static_cast<std::uint8_t>(text.at(a)));
    }
    for (qint64 a = 0xC0; a < state.image.size(); ++a)
        state.image.set(a, static_cast<std::uint8_t>(a));
    window.controls().DataCombo1->hide();
    window.show();
    window.imageView().ShowImage();
    window.imageView().setCurrentCell(2, 9);
    window.imageView().MSFGrid1_Click();
    QCoreApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
