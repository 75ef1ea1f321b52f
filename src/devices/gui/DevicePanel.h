#pragma once

#include "devices/gui/DeviceControls.h"
#include "session/AppServices.h"

#include <QObject>
#include <QStringList>

#include <functional>

class StatusPanels;

// The device list (Combo_device) and the access-size list (CmbSize) of the main window:
// selecting a device sets SelectedDevice, the size, page size and part labels, status panel 4
// and the access sizes, and re-creates the memory image.
class DevicePanel : public QObject {
    Q_OBJECT
public:
    DevicePanel(const DeviceControls& controls, const AppServices& services, StatusPanels& panels);

    // ClearImage: re-creates the image for the selected device and redraws what shows it.
    void setClearImage(std::function<void()> clearImage) { m_clearImage = std::move(clearImage); }

    // The main window's load step: the fixed list 16 .. 131072, with the stored entry selected.
    void fillFixedAccessSizes();

    // Fills the device list from the catalogue and selects the stored device. What cannot be
    // used (an empty catalogue, a stored index outside the list, an unusable row) is appended
    // to `notices` for the start-up to report, and the first usable row is taken instead.
    void fillDeviceList(QStringList& notices);

    // While an access runs the device and the access size stay as they are.
    void setAccessRunning(bool running);

    void Combo_device_Click();
    void CmbSize_Click();

    // The number in the selected CmbSize entry; 0 when nothing is selected.
    [[nodiscard]] qint64 accessSize() const;
    // The selected device's catalogue name ("24C64"); empty when none is selected.
    [[nodiscard]] QString selectedName() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // A device has been selected and the image re-created for it.
    void deviceSelected();

private:
    void selectDevice(int index);
    void selectNoDevice();
    void fillAccessSizes(const QList<qint64>& sizes);
    [[nodiscard]] int firstUsableRow() const;
    [[nodiscard]] bool isUsable(int index, QString* problem = nullptr) const;
    void setDeviceListIndex(int index);

    DeviceControls m_controls;
    AppServices m_services;
    StatusPanels& m_panels;
    std::function<void()> m_clearImage;
    int m_selectedIndex = -1;
};
