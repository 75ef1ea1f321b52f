#pragma once

class QGridLayout;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QWidget;

// Every control of the production window, each carrying its name as objectName. The boards'
// own displays (BoardDisplay) go into Grid_Boards, one per board of the list.
struct FrmProductionControls {
    // ジョブ: the job file and what it programs.
    QGroupBox* Frame_Job = nullptr;
    QPushButton* Cmd_OpenJob = nullptr;
    QLabel* Lbl_JobFile = nullptr;
    QLabel* Lbl_JobPart = nullptr;
    QLabel* Lbl_JobImage = nullptr;
    QLabel* Lbl_JobRange = nullptr;
    QLabel* Lbl_JobRules = nullptr;
    QTreeWidget* Lst_Serials = nullptr;  // name, next value, format, place, values

    // ボード: the ports the rounds run on.
    QGroupBox* Frame_Boards = nullptr;
    QListWidget* Lst_Boards = nullptr;
    QPushButton* Cmd_AddPort = nullptr;
    QPushButton* Cmd_RemovePort = nullptr;

    // ラインデータベース: where the numbers come from and the log goes.
    QGroupBox* Frame_Database = nullptr;
    QLabel* Lbl_Database = nullptr;
    QLabel* Lbl_Station = nullptr;
    QPushButton* Cmd_Database = nullptr;

    // The round: its button, the boards' displays, the counters and the last number issued.
    QPushButton* Cmd_Round = nullptr;
    QWidget* Area_Boards = nullptr;
    QGridLayout* Grid_Boards = nullptr;
    QLabel* Lbl_Passed = nullptr;
    QLabel* Lbl_Failed = nullptr;
    QLabel* Lbl_Session = nullptr;
    QLabel* Lbl_LastSerial = nullptr;
    QLabel* Lbl_Status = nullptr;  // why the last round was refused, or what the export did

    // The chips of this session, and the whole log to a file.
    QGroupBox* Frame_Log = nullptr;
    QTreeWidget* Lst_Log = nullptr;  // time, port, result, chip, numbers
    QPushButton* Cmd_ExportLog = nullptr;
};

// Creates the controls on `window` and lays them out.
[[nodiscard]] FrmProductionControls buildFrmProductionControls(QWidget* window);
