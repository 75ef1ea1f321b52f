#pragma once

#include "link/SerialDevice.h"
#include "link/gui/PortDeviceSummary.h"

#include <QDialog>
#include <QList>

#include <functional>
#include <memory>
#include <optional>

class BoardFinder;
class LinkClock;
class PortHolders;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class SerialDevices;
class SerialPort;
class SettingsStore;
class UserDialogs;

// frmCom "通信設定": the port number and the RTS and DTR lines used for the programmer board.
// Picking a port test-opens it; the port stays open while the window is shown and is closed
// again when the window closes. Every choice is stored at once.
//
// Beside the number, Lbl_PortDevice says which device the number stands for, what the adapter
// is and whether the port can be used; the numbers whose device is there are shown in bold.
// "デバイス..." points the number at another device, "ボード検出" asks every present device
// for the board and selects the one that answers.
class FrmCom : public QDialog {
    Q_OBJECT
public:
    // Shows the device list for `portNumber` (devices, who holds each, the number's current
    // path) and returns the path chosen, or nothing when the user cancelled.
    using DeviceChooser =
        std::function<std::optional<QString>(int portNumber, const QList<SerialDevice>& devices,
                                             const QStringList& held, const QString& currentPath)>;

    FrmCom(SerialPort& port, SettingsStore& settings, UserDialogs& dialogs,
           QWidget* parent = nullptr);
    ~FrmCom() override;

    // Where the window looks for devices, who holds them, and how it asks them for the board.
    // By default: the system's devices, asked over real ports on the steady clock.
    void setPortLookup(const SerialDevices& devices, const PortHolders& holders,
                       BoardFinder& finder);
    // By default the device list window (frmPortDevice), shown modally.
    void setDeviceChooser(DeviceChooser chooser) { m_chooseDevice = std::move(chooser); }

    // Fills the port list, selects (and test-opens) the stored port and ticks the stored lines.
    void Form_Load();

    void Cmb_com_Click();
    void CheckDTR_Click();
    void CheckRTS_Click();
    void Cmd_Close_Click();
    void Cmd_PortDevice_Click();
    void Cmd_DetectBoard_Click();

protected:
    // Every way of closing the window (the close button, the title bar, Esc) ends here. During
    // a board search it stops the search first.
    void done(int result) override;

private:
    // The port choice: stores the number, test-opens its device and describes it. Problems go
    // to the label; `reportUnusable` adds the message box for a device that is there but does
    // not open.
    void choosePort(bool reportUnusable, const QString& board = QString());
    void refreshDevices();
    void markItems();
    void setSearching(bool searching);
    [[nodiscard]] int currentPortNumber() const;
    [[nodiscard]] PortDeviceSummary summaryFor(int portNumber) const;
    void Form_Unload();
    void closePort();

    SerialPort& m_port;
    SettingsStore& m_settings;
    UserDialogs& m_dialogs;
    QLabel* m_label1 = nullptr;
    QComboBox* m_cmbCom = nullptr;
    QLabel* m_lblPortDevice = nullptr;
    QPushButton* m_cmdPortDevice = nullptr;
    QPushButton* m_cmdDetectBoard = nullptr;
    QGroupBox* m_frame1 = nullptr;
    QCheckBox* m_checkDtr = nullptr;
    QCheckBox* m_checkRts = nullptr;
    QLabel* m_labelDsr = nullptr;
    QLabel* m_labelCts = nullptr;
    QPushButton* m_cmdClose = nullptr;
    bool m_unloaded = false;

    std::unique_ptr<SerialDevices> m_systemDevices;
    std::unique_ptr<PortHolders> m_systemHolders;
    std::unique_ptr<LinkClock> m_steadyClock;
    std::unique_ptr<BoardFinder> m_systemFinder;
    const SerialDevices* m_devices = nullptr;
    const PortHolders* m_holders = nullptr;
    BoardFinder* m_finder = nullptr;
    DeviceChooser m_chooseDevice;
    QList<SerialDevice> m_present;
    bool m_searching = false;
    bool m_closeAfterSearch = false;
};
