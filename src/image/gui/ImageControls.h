#pragma once

#include <array>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

// Frame1, the byte editor, as the window's builder fills it.
struct ByteEditorControls {
    QGroupBox* Frame1 = nullptr;
    QLineEdit* Text_modify_hex = nullptr;
    QLineEdit* Text_modify_dec = nullptr;
    QLineEdit* Text_modify_asc = nullptr;
    std::array<QCheckBox*, 8> ChkBin{};
    QLabel* LblCheckSUM = nullptr;
};

// The main window's controls that show and change the memory image.
struct ImageControls {
    QTableView* MSFGrid1 = nullptr;
    QPushButton* Command1 = nullptr;  // buffer clear
    QAction* mnuBufferClear = nullptr;
    QAction* mnuGoTo = nullptr;
    QAction* mnuCopyChecksums = nullptr;  // the checksums of the image to the clipboard
    QAction* mnuView16 = nullptr;         // 16-bit words in the grid (Microwire parts)
    ByteEditorControls editor;
};
