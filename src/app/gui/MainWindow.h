#pragma once

#include "app/gui/MainWindowControls.h"
#include "app/gui/StatusBarPanels.h"
#include "session/AppServices.h"

#include <QMainWindow>

#include <memory>

class AccessController;
class DevicePanel;
class DifferencesDisplay;
class FileCompareCommand;
class ImageEditing;
class ImageFileCommands;
class MainWindowParts;
class PortSettingsController;
class SerialPort;
class ImageView;

// frmMain: owns the controls and hands their events to the subsystems.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(const AppServices& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs once, right after the window has been created: restores the stored position (moved
    // onto the screen, and fitted to a screen smaller than the window), places the separator
    // and fills the fixed access-size list.
    void Form_Load();

    // Moves and sizes the window so that it is usable on the screen that shows most of it.
    void placeOnScreen();

    [[nodiscard]] MainWindowControls& controls() { return m_controls; }
    [[nodiscard]] StatusBarPanels& statusPanels() { return m_statusPanels; }
    [[nodiscard]] DevicePanel& devicePanel();
    [[nodiscard]] ImageFileCommands& imageFileCommands();
    // mnuFileCompare: the image against a file.
    [[nodiscard]] FileCompareCommand& fileCompare();
    // MSComm1: the program's one serial port, closed except during an access.
    [[nodiscard]] SerialPort& serialPort();
    [[nodiscard]] PortSettingsController& portSettings();
    [[nodiscard]] ImageView& imageView();
    // The four access buttons: reads and writes over the programmer link.
    [[nodiscard]] AccessController& access();
    // Differences found by a verify: grid marks and their list.
    [[nodiscard]] DifferencesDisplay& differences();
    // The Edit menu's commands on the image: undo, clipboard, fill, find, ranges.
    [[nodiscard]] ImageEditing& editing();

    // A command that reached the chip has ended: a close or a file held off during it follows.
    void accessFinished();

    // A file given from outside the window (the command line, a second start of the program):
    // the window comes to the front and loads it like the open command. During an access the
    // load waits for the access to end. An empty path only brings the window to the front.
    void openFileFromOutside(const QString& path);

signals:
    // The window has been closed (Form_Unload has run); the program ends.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // A file dropped on the window loads as if opened; nothing is taken during an access.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void Form_Unload();
    void mnuFileExit_Click();
    void placeSeparator();
    [[nodiscard]] double dotsPerInch() const;
    [[nodiscard]] QMargins frameMargins() const;

    AppServices m_services;
    MainWindowControls m_controls;
    StatusBarPanels m_statusPanels;
    std::unique_ptr<MainWindowParts> m_parts;
    bool m_closeAfterAccess = false;
    bool m_shownOnce = false;
    QString m_fileAfterAccess;  // handed in during an access, loaded when it ends
};
