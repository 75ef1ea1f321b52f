#pragma once

#include "base/InstanceLock.h"
#include "base/SettingsStore.h"
#include "base/UiLanguage.h"
#include "session/AppServices.h"
#include "session/ProgramState.h"
#include "ui/ProgramTranslations.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class AboutWindow;
class AuxiliaryWindows;
class DemoRun;
class DesktopOpener;
class FileHandoff;
class LinkClock;
class LinkFactory;
class SerialPort;
class MainWindow;
class SplashWindow;
class UserDialogs;

// The entry procedure: from the splash window to the main window on screen.
class Startup {
public:
    struct Environment {
        QString appFolder;                 // the executable's folder
        QString lockFilePath;              // the single-instance lock
        UserDialogs* dialogs = nullptr;    // none: the real dialogs
        DesktopOpener* desktop = nullptr;  // none: the desktop's own
        SerialPort* port = nullptr;        // none: the program's serial port
        LinkClock* clock = nullptr;        // none: the steady clock
        LinkFactory* links = nullptr;      // the production boards; none: the system's
        QString fileToLoad{};  // an absolute path from the command line, loaded after start-up
        // The window's language for this run (--lang); none: the one the user chose in the
        // Language menu, Japanese unless told otherwise.
        std::optional<UiLanguage> language{};
        // --demo: the window on the board emulator, its port and device for this run only.
        bool demo = false;
    };

    explicit Startup(Environment environment);
    ~Startup();

    // Runs the start-up sequence. False when the program must end at once: another copy runs
    // (it is handed the file to load and brought to the front), or the data file is missing
    // (after saying so).
    [[nodiscard]] bool run();

    // The file named on a command line (`arguments` as QCoreApplication gives them, the
    // program first) as an absolute path, relative names taken from `currentFolder`; a
    // "file:" URL is taken as its local path. Options ("-x") are passed over, up to "--".
    // Empty when none is named. The value of --lang is no file.
    [[nodiscard]] static QString fileFromArguments(const QStringList& arguments,
                                                   const QString& currentFolder);
    // The language that "--lang ja|en" (or "--lang=en") on a command line asks for; none when
    // the option is not given or its value is not a language the program has (said on
    // standard error).
    [[nodiscard]] static std::optional<UiLanguage> languageFromArguments(
        const QStringList& arguments);

    [[nodiscard]] MainWindow* mainWindow() const { return m_mainWindow.get(); }
    [[nodiscard]] SplashWindow* splashWindow() const;
    [[nodiscard]] AuxiliaryWindows* auxiliaryWindows() const { return m_auxiliaryWindows.get(); }
    [[nodiscard]] const ProgramState& state() const { return m_state; }
    // --demo: the emulator's run, when it was asked for.
    [[nodiscard]] const DemoRun* demo() const { return m_demo.get(); }

    // The executable's folder with a trailing separator.
    [[nodiscard]] static QString appFolderOf(const QString& folder);

private:
    [[nodiscard]] AppServices services();
    void loadDataFile();
    void showNotices();
    void takeHandedFile(const QString& path);

    // First, so that the translations are removed only after every window has gone.
    ProgramTranslations m_translations;
    Environment m_environment;
    InstanceLock m_instanceLock;
    ProgramState m_state;
    SettingsStore m_settings;
    std::unique_ptr<UserDialogs> m_ownDialogs;
    std::unique_ptr<DesktopOpener> m_ownDesktop;
    UserDialogs* m_dialogs = nullptr;
    DesktopOpener* m_desktop = nullptr;
    std::unique_ptr<MainWindow> m_mainWindow;
    QStringList m_notices;
    QPointer<SplashWindow> m_splash;             // gone once a key press or a click has closed it
    std::unique_ptr<AboutWindow> m_aboutWindow;  // until the main window takes it over
    std::unique_ptr<AuxiliaryWindows> m_auxiliaryWindows;
    std::unique_ptr<FileHandoff> m_handoff;
    QStringList m_handedBeforeWindow;  // files handed over while the program was starting
    std::unique_ptr<DemoRun> m_demo;   // --demo: the emulator, ended with the window
    bool m_started = false;
};
