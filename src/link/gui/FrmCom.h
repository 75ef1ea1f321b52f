#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class SerialPort;
class SettingsStore;
class UserDialogs;

// frmCom "通信設定": the port number and the RTS and DTR lines used for the programmer board.
// Picking a port test-opens it; the port stays open while the window is shown and is closed
// again when the window closes. Every choice is stored at once.
class FrmCom : public QDialog {
    Q_OBJECT
public:
    FrmCom(SerialPort& port, SettingsStore& settings, UserDialogs& dialogs,
           QWidget* parent = nullptr);

    // Fills the port list, selects (and test-opens) the stored port and ticks the stored lines.
    void Form_Load();

    void Cmb_com_Click();
    void CheckDTR_Click();
    void CheckRTS_Click();
    void Cmd_Close_Click();

protected:
    // Every way of closing the window (the close button, the title bar, Esc) ends here.
    void done(int result) override;

private:
    void Form_Unload();
    void closePort();

    SerialPort& m_port;
    SettingsStore& m_settings;
    UserDialogs& m_dialogs;
    QLabel* m_label1 = nullptr;
    QComboBox* m_cmbCom = nullptr;
    QGroupBox* m_frame1 = nullptr;
    QCheckBox* m_checkDtr = nullptr;
    QCheckBox* m_checkRts = nullptr;
    QLabel* m_labelDsr = nullptr;
    QLabel* m_labelCts = nullptr;
    QPushButton* m_cmdClose = nullptr;
    bool m_unloaded = false;
};
