#pragma once

#include "devices/gui/DeviceControls.h"
#include "editing/gui/EditControls.h"
#include "files/gui/FileControls.h"
#include "image/gui/ImageControls.h"
#include "link/gui/AccessControls.h"
#include "production/gui/ProductionControls.h"
#include "ui/gui/AuxiliaryWindows.h"
#include "ui/gui/LanguageMenu.h"

#include <array>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTableView;
class QTextEdit;
class QWidget;

// Every control and menu entry of the main window, each carrying its name as objectName.
// The main window owns them; each part of the window gets the few that are its own.
struct MainWindowControls {
    QComboBox* Combo_device = nullptr;
    QGroupBox* Frame2 = nullptr;
    QPushButton* Cmd_READ_all = nullptr;
    QPushButton* Cmd_WRITE_all = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* CmbSize = nullptr;
    QGroupBox* Frame3 = nullptr;
    QPushButton* Cmd_READ_single = nullptr;
    QPushButton* Cmd_WRITE_single = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* Cmd_Port = nullptr;
    QPushButton* Cmd_Open = nullptr;
    QPushButton* Cmd_SaveAs = nullptr;
    QPushButton* Command1 = nullptr;
    QTableView* MSFGrid1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLineEdit* Text_modify_hex = nullptr;
    QLineEdit* Text_modify_dec = nullptr;
    QLineEdit* Text_modify_asc = nullptr;
    std::array<QCheckBox*, 8> ChkBin{};
    std::array<QLabel*, 4> Label2{};  // "Hex", "Dec", "Bin", "Ascii"
    QGroupBox* Frame4 = nullptr;
    QLabel* LblCheckSUM = nullptr;
    QLabel* Lbl_PageSize = nullptr;
    QLabel* Lbl_Spec = nullptr;
    QLabel* Lbl_memo = nullptr;
    QLabel* Label1 = nullptr;  // "please wait", seen only while the grid is hidden
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;
    QStatusBar* sbStatusBar = nullptr;
    std::array<QLabel*, 4> statusPanels{};  // panels 1 to 4
    QComboBox* DataCombo1 = nullptr;
    QTextEdit* RichTextBox1 = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    QAction* mnuLoadRange = nullptr;      // a file's bytes into a range of the image
    QAction* mnuSaveSelection = nullptr;  // the selected bytes as a file
    QMenu* mnuFileRecent = nullptr;       // the files last opened or saved
    QAction* mnuFileCompare = nullptr;
    QAction* mnuOutPutTextFile = nullptr;
    QAction* mnuFilePageSetup = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFileExitSeparator = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuEdit = nullptr;
    // Undo (Ctrl+Z) and redo (Ctrl+Y, Ctrl+Shift+Z) of the image's edits, each naming its step.
    QAction* mnuUndo = nullptr;
    QAction* mnuRedo = nullptr;
    QAction* mnuCopy = nullptr;      // Ctrl+C: hexadecimal text and the bytes
    QAction* mnuCopyText = nullptr;  // Ctrl+Shift+C: the text column's characters
    QAction* mnuPaste = nullptr;     // Ctrl+V: at the current cell, overwriting
    QAction* mnuSelectAll = nullptr;
    QAction* mnuFill = nullptr;
    QAction* mnuFind = nullptr;           // Ctrl+F: the find window
    QAction* mnuFindNext = nullptr;       // F3
    QAction* mnuFindPrevious = nullptr;   // Shift+F3
    QAction* mnuReplace = nullptr;        // Ctrl+H: the find window at its replacement
    QAction* mnuGoTo = nullptr;           // Ctrl+G: jump to a byte by its hexadecimal address
    QAction* mnuCopyChecksums = nullptr;  // the image's checksums to the clipboard
    QAction* mnuView16 = nullptr;         // 16-bit words in the grid, for a Microwire part
    QMenu* mnuTools = nullptr;
    QAction* mnuBufferClear = nullptr;
    QAction* mnuBoardInfomation = nullptr;
    QAction* mnuToolsOptions = nullptr;
    QAction* mnuProduction = nullptr;  // 量産...: the production window
    // Language / 言語: the window's language from the next start on.
    QMenu* mnuLanguage = nullptr;
    QAction* mnuLanguageJa = nullptr;  // 日本語
    QAction* mnuLanguageEn = nullptr;  // English
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpSearchForHelpOn = nullptr;
    QAction* mnuHelpAbout = nullptr;

    // Verify, blank check, erase and cancel: the buttons beside the access buttons, the device
    // menu between Options and Help, and the progress of a running access in the status bar.
    QPushButton* Cmd_VERIFY_all = nullptr;
    QPushButton* Cmd_Cancel = nullptr;
    QProgressBar* PrgAccess = nullptr;
    QLabel* Lbl_AccessTime = nullptr;  // elapsed and remaining time beside PrgAccess
    QMenu* mnuDevice = nullptr;
    QAction* mnuVerify = nullptr;
    QAction* mnuBlankCheck = nullptr;
    QAction* mnuErase = nullptr;
    QAction* mnuVerifyAfterWrite = nullptr;
    // How far a dump can be trusted: every read made twice and compared, a backup before a
    // block write or erase, and block writes of the changed chunks only.
    QAction* mnuReadTwice = nullptr;
    QAction* mnuBackupBeforeWrite = nullptr;
    QAction* mnuWriteChangedOnly = nullptr;

    [[nodiscard]] DeviceControls device() const;
    [[nodiscard]] ImageControls image() const;
    [[nodiscard]] EditControls edit() const;
    [[nodiscard]] FileControls files() const;
    [[nodiscard]] AccessControls access() const;
    [[nodiscard]] PortControls port() const;
    [[nodiscard]] LanguageControls language() const;
    [[nodiscard]] AuxiliaryControls auxiliary() const;
    [[nodiscard]] ProductionControls production() const;
};

// Creates the controls and menus on `window` and lays them out.
[[nodiscard]] MainWindowControls buildMainWindowControls(QMainWindow* window);
