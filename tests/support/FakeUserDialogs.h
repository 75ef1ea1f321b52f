#pragma once

#include "base/UserDialogs.h"

#include <QList>
#include <functional>

// Scripted dialogs: records every request and answers from a queue. When the queue is empty a
// message box answers with its default button (Ok, or No for a Yes/No question), and file
// dialogs and text entries are cancelled.
class FakeUserDialogs : public UserDialogs {
public:
    MessageAnswer showMessage(const MessageBoxRequest& request) override;
    FileDialogResult showFileDialog(const FileDialogRequest& request) override;
    TextInputResult askText(const TextInputRequest& request) override;

    QList<MessageBoxRequest> messages;
    QList<FileDialogRequest> fileDialogs;
    QList<MessageAnswer> messageAnswers;
    QList<FileDialogResult> fileAnswers;
    QList<TextInputRequest> textInputs;
    QList<TextInputResult> textAnswers;  // cancelled when empty
    // Runs while a message box is "open", for tests that act in the middle of a modal box.
    std::function<void(const MessageBoxRequest&)> onMessage;

    // A file dialog answer choosing `path`.
    static FileDialogResult chosen(const QString& path);
};
