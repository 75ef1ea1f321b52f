#pragma once

class QAction;
class QWidget;

// The main window's commands that edit the memory image, filled by the window's builder: the
// Edit menu's undo, clipboard, fill and find entries and the File menu's range entries.
struct EditControls {
    QWidget* window = nullptr;  // the main window: the find window belongs to it
    QAction* mnuUndo = nullptr;
    QAction* mnuRedo = nullptr;
    QAction* mnuCopy = nullptr;      // hexadecimal text, and the bytes themselves
    QAction* mnuCopyText = nullptr;  // the text column's characters
    QAction* mnuPaste = nullptr;
    QAction* mnuSelectAll = nullptr;
    QAction* mnuFill = nullptr;
    QAction* mnuFind = nullptr;
    QAction* mnuFindNext = nullptr;
    QAction* mnuFindPrevious = nullptr;
    QAction* mnuReplace = nullptr;
    QAction* mnuLoadRange = nullptr;      // a file's bytes into a range of the image
    QAction* mnuSaveSelection = nullptr;  // the selected bytes as a file
};
