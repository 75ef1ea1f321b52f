#pragma once

class QAction;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

// The main window's controls of the commands that reach the chip, filled by the window's
// builder.
struct AccessControls {
    QWidget* window = nullptr;  // where Esc stops a running access
    QPushButton* Cmd_READ_all = nullptr;
    QPushButton* Cmd_WRITE_all = nullptr;
    QPushButton* Cmd_READ_single = nullptr;
    QPushButton* Cmd_WRITE_single = nullptr;
    QPushButton* Cmd_VERIFY_all = nullptr;
    QPushButton* Cmd_Cancel = nullptr;
    QProgressBar* PrgAccess = nullptr;
    QLabel* Lbl_AccessTime = nullptr;
    QAction* mnuVerify = nullptr;
    QAction* mnuBlankCheck = nullptr;
    QAction* mnuErase = nullptr;
    QAction* mnuVerifyAfterWrite = nullptr;
    QAction* mnuReadTwice = nullptr;
    QAction* mnuBackupBeforeWrite = nullptr;
    QAction* mnuWriteChangedOnly = nullptr;
};

// The port settings window's entries on the main window.
struct PortControls {
    QPushButton* Cmd_Port = nullptr;
    QAction* mnuToolsOptions = nullptr;
};
