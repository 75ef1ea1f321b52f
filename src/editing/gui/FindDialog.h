#pragma once

#include "editing/SearchPattern.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

// frmFind: the find and replace window beside the main window (not modal). It holds what to
// look for and what to put in, in one of three forms (hexadecimal bytes, ASCII text, Shift_JIS
// text), and its buttons ask for the commands; FindCommands carries them out.
class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(QWidget* parent);

    [[nodiscard]] SearchPattern::Form form() const;
    [[nodiscard]] QString findText() const;
    [[nodiscard]] QString replaceText() const;

    // Shows the window with the focus in the find box, or in the replace box.
    void showFor(bool replacing);
    // While an access runs the commands wait.
    void setCommandsEnabled(bool enabled);

    QComboBox* FindForm = nullptr;
    QLineEdit* FindText = nullptr;
    QLineEdit* ReplaceText = nullptr;
    QPushButton* Cmd_FindNext = nullptr;
    QPushButton* Cmd_FindPrevious = nullptr;
    QPushButton* Cmd_Replace = nullptr;
    QPushButton* Cmd_ReplaceAll = nullptr;
    QPushButton* Cmd_FindClose = nullptr;

signals:
    void findNextRequested();
    void findPreviousRequested();
    void replaceRequested();
    void replaceAllRequested();
    // The window was closed: its marks go.
    void closed();

protected:
    void hideEvent(QHideEvent* event) override;
};
