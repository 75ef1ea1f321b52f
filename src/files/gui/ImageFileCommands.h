#pragma once

#include "base/UserDialogs.h"
#include "files/ImageByteOrder.h"
#include "files/ImageFileFormat.h"
#include "files/gui/FileControls.h"
#include "session/AppServices.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class BusyIndicator;
struct FileWriteFailure;
class RecentFiles;
class RecentFilesMenu;
class StatusPanels;

// The File menu's image commands of the main window: save the memory image as an image file
// (mnuFileSaveAs, Cmd_SaveAs), load one into the image (mnuFileOpen, Cmd_Open, and the recent
// files of mnuFileRecent) and open the text listing in the user's viewer (mnuOutPutTextFile).
// Files are Intel HEX, Motorola S-records or raw binary; the dialogs offer a filter for each,
// and for Microwire parts one for x16 dumps, whose bytes are swapped in pairs.
//
// A save never harms an existing file: the target is replaced only by a completely written
// file, a save that could not keep the old file is refused before the overwrite question, and
// a failure leaves the caption and the remembered folder as they were. A load that
// cannot read its file, or finds no data in it, leaves the image as it was.
class ImageFileCommands : public QObject {
    Q_OBJECT
public:
    using CaptionSetter = std::function<void(const QString&)>;

    ImageFileCommands(const AppServices& services, StatusPanels& panels, BusyIndicator& busy,
                      CaptionSetter setCaption, QObject* parent = nullptr);
    ~ImageFileCommands() override;

    // ShowImage: redraws the grid, the listing file, the checksum label and the byte editor
    // from the image. A load ends with it.
    void setShowImage(std::function<void()> showImage) { m_showImage = std::move(showImage); }
    // Loads are turned away while `busy` says so: an access is running and owns the image.
    void setBusyCheck(std::function<bool()> busy) { m_busyCheck = std::move(busy); }

    // Connects the menu entries and buttons of the main window to the handlers below.
    void connectControls(const FileControls& controls);
    // While an access runs the image is not loaded, saved or listed.
    void setAccessRunning(bool running);

    void mnuFileSaveAs_Click();
    void Cmd_SaveAs_Click() { mnuFileSaveAs_Click(); }
    void mnuFileOpen_Click();
    void Cmd_Open_Click() { mnuFileOpen_Click(); }
    void mnuOutPutTextFile_Click();

    // Every load of a file into the image goes through here: the open dialog, a recent file, a
    // file dropped on the window, the command line and a file handed over by a second start.
    // Unknown `format`: the extension decides, else the file's beginning. True when the image
    // now holds the file's data. A file that does not fit the selected part is loaded with a
    // notice that names the parts it fits.
    bool loadFile(const QString& path, ImageFileFormat format = ImageFileFormat::Unknown,
                  ImageByteOrder order = ImageByteOrder::AsIs);
    // A file chosen in mnuFileRecent: loaded, or, when it no longer exists, taken out of the
    // list with a message.
    void openRecentFile(const QString& path);

    // WorkFilePath: the path of the last save or load.
    [[nodiscard]] const QString& workFilePath() const { return m_workFilePath; }
    [[nodiscard]] QStringList recentFiles() const;

private:
    // Whether the dialogs offer x16 dumps: for Microwire parts.
    [[nodiscard]] bool offersSwapped16() const;
    void showMessage(const QString& text, MessageIcon icon);
    // "ファイルに保存できませんでした。", the file and the cause.
    void reportSaveFailure(const FileWriteFailure& failure);
    void remember(const QString& path);

    AppServices m_services;
    FileControls m_controls;
    StatusPanels& m_panels;
    BusyIndicator& m_busy;
    CaptionSetter m_setCaption;
    std::function<void()> m_showImage;
    std::function<bool()> m_busyCheck;
    QString m_workFilePath;
    std::unique_ptr<RecentFiles> m_recentFiles;
    RecentFilesMenu* m_recentFilesMenu = nullptr;
};
