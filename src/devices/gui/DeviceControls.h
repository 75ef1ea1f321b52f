#pragma once

class QComboBox;
class QLabel;

// The main window's controls of the device selection, filled by the window's builder.
struct DeviceControls {
    QComboBox* Combo_device = nullptr;
    QComboBox* CmbSize = nullptr;
    QLabel* Lbl_PageSize = nullptr;
    QLabel* Lbl_Spec = nullptr;
};
