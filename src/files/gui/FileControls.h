#pragma once

class QAction;
class QMenu;
class QPushButton;

// The main window's controls of the image files, filled by the window's builder.
struct FileControls {
    QPushButton* Cmd_Open = nullptr;
    QPushButton* Cmd_SaveAs = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    QMenu* mnuFileRecent = nullptr;
    QAction* mnuOutPutTextFile = nullptr;
};
