#pragma once

#include "app/gui/MainWindow.h"
#include "app/gui/MainWindowControls.h"
#include "base/DataFileReader.h"
#include "base/DesktopOpener.h"
#include "base/SettingsStore.h"
#include "base/UiLanguage.h"
#include "base/UserDialogs.h"
#include "devices/gui/DevicePanel.h"
#include "session/AppServices.h"
#include "session/ProgramState.h"

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>

// The main window of the screenshot tools and the window benches: the shipped parts file in a
// folder of its own, no board, no desktop, and dialogs that answer at once. The program sets
// XDG_CONFIG_HOME and QSettings' path to a fresh folder before it makes one, so nothing of the
// user's settings is read or written.

// Answers every box with `answer` and every file dialog and text question as cancelled.
class QuietDialogs : public UserDialogs {
public:
    explicit QuietDialogs(MessageAnswer answer = MessageAnswer::Ok) : m_answer(answer) {}
    MessageAnswer showMessage(const MessageBoxRequest&) override { return m_answer; }
    FileDialogResult showFileDialog(const FileDialogRequest&) override { return {}; }
    TextInputResult askText(const TextInputRequest&) override { return {}; }

private:
    MessageAnswer m_answer;
};

class NoDesktop : public DesktopOpener {
public:
    bool openFile(const QString&) override { return false; }
    bool openUrl(const QString&) override { return false; }
};

// What the window runs on; built before the window so that it can be handed over whole.
struct OfflineSession {
    OfflineSession(const QString& dataFile, UiLanguage language)
    {
        QFile::copy(dataFile, appFolder.path() + QStringLiteral("/vorle6.ini"));
        state.appFolder = appFolder.path() + QStringLiteral("/");
        state.language = language;
        state.catalogue =
            DeviceCatalogue(readDataFile(state.appFolder + QStringLiteral("vorle6.ini"))->rows);
    }

    QTemporaryDir appFolder;
    ProgramState state;
    SettingsStore settings;
    NoDesktop desktop;
};

// The window loaded, its device list filled and `part` chosen; not yet shown.
struct OfflineMainWindow : OfflineSession {
    OfflineMainWindow(const QString& dataFile, const QString& part, UserDialogs& dialogs,
                      UiLanguage language = UiLanguage::Japanese)
        : OfflineSession(dataFile, language), window(AppServices{state, settings, dialogs, desktop})
    {
        window.Form_Load();
        QStringList notices;
        window.devicePanel().fillDeviceList(notices);
        window.controls().Combo_device->setCurrentIndex(state.catalogue.indexOf(part));
    }

    MainWindow window;
};
