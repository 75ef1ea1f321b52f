#include "support/FakeUserDialogs.h"

#include <QFileInfo>

MessageAnswer FakeUserDialogs::showMessage(const MessageBoxRequest& request)
{
    messages.append(request);
    if (onMessage) onMessage(request);
    if (!messageAnswers.isEmpty()) return messageAnswers.takeFirst();
    // The box's default button.
    return request.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

FileDialogResult FakeUserDialogs::showFileDialog(const FileDialogRequest& request)
{
    fileDialogs.append(request);
    return fileAnswers.isEmpty() ? FileDialogResult{} : fileAnswers.takeFirst();
}

TextInputResult FakeUserDialogs::askText(const TextInputRequest& request)
{
    textInputs.append(request);
    return textAnswers.isEmpty() ? TextInputResult{} : textAnswers.takeFirst();
}

FileDialogResult FakeUserDialogs::chosen(const QString& path)
{
    FileDialogResult result;
    result.accepted = true;
    result.fileName = path;
    result.fileTitle = QFileInfo(path).fileName();
    return result;
}
