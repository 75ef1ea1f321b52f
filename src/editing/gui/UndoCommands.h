#pragma once

#include <QObject>

class ImageEditor;
class QAction;
class StatusPanels;

// Edit > Undo (Ctrl+Z) and Redo (Ctrl+Y, Ctrl+Shift+Z) of the memory image's edits. Each entry
// names the step it would take ("元に戻す: 貼り付け") and is enabled only while there is one and
// no command reaches the chip.
class UndoCommands : public QObject {
    Q_OBJECT
public:
    UndoCommands(QAction* undo, QAction* redo, ImageEditor& editor, StatusPanels& panels,
                 QObject* parent = nullptr);

    void mnuUndo_Click();
    void mnuRedo_Click();
    // The entries' texts and states from the history: after every change of the image.
    void refresh();
    void setAccessRunning(bool running);

private:
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    ImageEditor& m_editor;
    StatusPanels& m_panels;
    bool m_accessRunning = false;
};
