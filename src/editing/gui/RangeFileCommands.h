#pragma once

#include "base/UserDialogs.h"
#include "session/AppServices.h"

#include <QObject>

class ImageView;
class QAction;
class StatusPanels;

// File > load a file into a range, and save the selection. A file's bytes go to a chosen
// address of the image and nothing else changes (an Intel HEX or S-record file leaves the
// addresses it has no record for alone); a load that would run past the part's end asks first.
// The selected bytes are saved as a file of their own, beginning at address 0, through the safe
// saving the image files use. Both use the File menu's dialogs and remembered folders.
class RangeFileCommands : public QObject {
    Q_OBJECT
public:
    RangeFileCommands(QAction* mnuLoadRange, QAction* mnuSaveSelection, const AppServices& services,
                      ImageView& view, StatusPanels& panels, QObject* parent = nullptr);

    void mnuLoadRange_Click();
    void mnuSaveSelection_Click();

private:
    // The address typed in answer to the question, inside the image; nothing when cancelled
    // or refused (the refusal is said).
    // The file dialog of `kind`, in the folder and with the formats of the window's own.
    [[nodiscard]] FileDialogResult chooseFile(FileDialogKind kind, const QString& title);
    [[nodiscard]] std::optional<qint64> askTarget(const QString& title);
    void warn(const QString& title, const QString& text);

    AppServices m_services;
    ImageView& m_view;
    StatusPanels& m_panels;
};
