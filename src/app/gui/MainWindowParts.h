#pragma once

#include "session/AppServices.h"

#include <memory>

class AccessController;
class DevicePanel;
class DifferencesDisplay;
class FileCompareCommand;
class ImageEditing;
class ImageFileCommands;
class ImageView;
class MainWindow;
class PortSettingsController;
class ProductionCommand;
class SerialPort;
class StatusBarPanels;
struct MainWindowControls;

// The main window's composition: which parts of the window exist, each made from its own
// controls, and who talks to whom. Nothing else in the window creates a part or wires two of
// them together. The main window owns it; the parts that are Qt objects belong to the window.
class MainWindowParts {
public:
    MainWindowParts(MainWindow& window, MainWindowControls& controls, const AppServices& services,
                    StatusBarPanels& panels);
    ~MainWindowParts();
    MainWindowParts(const MainWindowParts&) = delete;
    MainWindowParts& operator=(const MainWindowParts&) = delete;

    [[nodiscard]] DevicePanel& devicePanel() const { return *m_devicePanel; }
    [[nodiscard]] ImageView& imageView() const { return *m_imageView; }
    [[nodiscard]] DifferencesDisplay& differences() const { return *m_differences; }
    [[nodiscard]] ImageFileCommands& imageFileCommands() const { return *m_imageFileCommands; }
    [[nodiscard]] FileCompareCommand& fileCompare() const { return *m_fileCompare; }
    [[nodiscard]] SerialPort& serialPort() const { return *m_serialPort; }
    [[nodiscard]] PortSettingsController& portSettings() const { return *m_portSettings; }
    [[nodiscard]] AccessController& access() const { return *m_access; }
    [[nodiscard]] ImageEditing& editing() const { return *m_editing; }
    [[nodiscard]] ProductionCommand& production() const { return *m_production; }

private:
    std::unique_ptr<DevicePanel> m_devicePanel;
    std::unique_ptr<ImageView> m_imageView;
    std::unique_ptr<DifferencesDisplay> m_differences;
    std::unique_ptr<ImageFileCommands> m_imageFileCommands;
    FileCompareCommand* m_fileCompare = nullptr;
    SerialPort* m_serialPort = nullptr;
    PortSettingsController* m_portSettings = nullptr;
    AccessController* m_access = nullptr;
    ImageEditing* m_editing = nullptr;
    ProductionCommand* m_production = nullptr;
};
