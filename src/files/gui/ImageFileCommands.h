#pragma once

#include "app/AppServices.h"

#include <QObject>
#include <QString>

#include <functional>

class BusyIndicator;
class StatusPanels;
struct IntelHexLoad;
struct MainWindowControls;

// The File menu's image commands of the main window: save the memory image as an Intel HEX
// file (mnuFileSaveAs, Cmd_SaveAs), load one into the image (mnuFileOpen, Cmd_Open) and open
// the text listing in the user's viewer (mnuOutPutTextFile).
//
// A save never harms an existing file: the target is replaced only by a completely written
// file, and a failure leaves the caption and the remembered folder as they were. A load that
// cannot read its file leaves the image as it was.
class ImageFileCommands : public QObject {
public:
    using CaptionSetter = std::function<void(const QString&)>;

    ImageFileCommands(const AppServices& services, StatusPanels& panels, BusyIndicator& busy,
                      CaptionSetter setCaption, QObject* parent = nullptr);

    // ShowImage: redraws the grid, the listing file, the checksum label and the byte editor
    // from the image. A load ends with it.
    void setShowImage(std::function<void()> showImage) { m_showImage = std::move(showImage); }

    // Connects the menu entries and buttons of the main window to the handlers below.
    void connectControls(const MainWindowControls& controls);

    void mnuFileSaveAs_Click();
    void Cmd_SaveAs_Click() { mnuFileSaveAs_Click(); }
    void mnuFileOpen_Click();
    void Cmd_Open_Click() { mnuFileOpen_Click(); }
    void mnuOutPutTextFile_Click();

    // WorkFilePath: the path the last save or load dialog returned.
    [[nodiscard]] const QString& workFilePath() const { return m_workFilePath; }

private:
    void reportLoadNotices(const IntelHexLoad& load);

    AppServices m_services;
    StatusPanels& m_panels;
    BusyIndicator& m_busy;
    CaptionSetter m_setCaption;
    std::function<void()> m_showImage;
    QString m_workFilePath;
};
