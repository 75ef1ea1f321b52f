#pragma once

#include <QString>

// Modal dialogs (message boxes, file dialogs and text entry) as the logic sees them. The windows
// provide the real dialogs; tests replace them with scripted answers, so no test ever blocks.

enum class MessageIcon { None, Information, Warning, Critical, Question };
// YesNo: "No" is the default button and the answer to Esc.
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageBoxRequest {
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    QString detail;  // shown as the box's detailed text; empty for none
};

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    QString title;             // empty: the system's own title
    QString initialFolder;     // empty: the dialog's own choice
    QString filter;            // "Name|pattern|Name|pattern|" pairs, as the program writes them
    QString defaultExtension;  // added to a typed name without an extension (while the chosen
                               // filter allows it; else the filter's own extension is added)
    QString fileName;          // the name field's initial text; empty keeps the dialog's last one
};

struct FileDialogResult {
    bool accepted = false;
    QString fileName;      // the full path
    QString fileTitle;     // the bare file name
    int filterIndex = -1;  // the position of the filter chosen in the request's list; -1 none
};

// A one-line text box with OK and Cancel.
struct TextInputRequest {
    QString title;
    QString label;  // what to type, above the box
    QString text;   // the box's initial text, selected
};

struct TextInputResult {
    bool accepted = false;
    QString text;
};

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    virtual MessageAnswer showMessage(const MessageBoxRequest& request) = 0;
    virtual FileDialogResult showFileDialog(const FileDialogRequest& request) = 0;
    virtual TextInputResult askText(const TextInputRequest& request) = 0;
};
