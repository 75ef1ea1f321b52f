#pragma once

#include "editing/gui/EditControls.h"
#include "session/AppServices.h"

#include <QObject>

class ClipboardCommands;
class FillCommand;
class FindCommands;
class ImageView;
class RangeFileCommands;
class SelectionStatus;
class StatusPanels;
class UndoCommands;

// The main window's commands that edit the memory image, beside the byte editor: undo and redo,
// the clipboard, fill, find and replace, a file into a range and the selection to a file, and
// the selection's summary in the status bar. They change the image through the program's
// ImageEditor and find the selection and the current cell in the image view. While a command
// reaches the chip they hold off.
class ImageEditing : public QObject {
    Q_OBJECT
public:
    ImageEditing(const EditControls& controls, const AppServices& services, ImageView& view,
                 StatusPanels& panels, QObject* parent = nullptr);

    void setAccessRunning(bool running);

    [[nodiscard]] UndoCommands& undo() const { return *m_undo; }
    [[nodiscard]] ClipboardCommands& clipboard() const { return *m_clipboard; }
    [[nodiscard]] FillCommand& fill() const { return *m_fill; }
    [[nodiscard]] FindCommands& find() const { return *m_find; }
    [[nodiscard]] RangeFileCommands& rangeFiles() const { return *m_rangeFiles; }

private:
    EditControls m_controls;
    UndoCommands* m_undo = nullptr;
    ClipboardCommands* m_clipboard = nullptr;
    FillCommand* m_fill = nullptr;
    FindCommands* m_find = nullptr;
    RangeFileCommands* m_rangeFiles = nullptr;
    SelectionStatus* m_selectionStatus = nullptr;
};
