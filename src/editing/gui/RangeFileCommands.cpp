#include "editing/gui/RangeFileCommands.h"

#include "base/FileExists.h"
#include "base/SettingsStore.h"
#include "base/StatusPanels.h"
#include "base/UserDialogs.h"
#include "editing/RangeFiles.h"
#include "editing/gui/EditTexts.h"
#include "files/FileReplacement.h"
#include "files/FolderMemory.h"
#include "files/ImageFileFilters.h"
#include "files/gui/FileDialogFilters.h"
#include "files/gui/FileWriteTexts.h"
#include "files/gui/ImageLoadTexts.h"
#include "image/GridNavigation.h"
#include "image/gui/ImageView.h"
#include "session/ProgramState.h"

#include <QAction>
#include <QFileInfo>

RangeFileCommands::RangeFileCommands(QAction* mnuLoadRange, QAction* mnuSaveSelection,
                                     const AppServices& services, ImageView& view,
                                     StatusPanels& panels, QObject* parent)
    : QObject(parent), m_services(services), m_view(view), m_panels(panels)
{
    connect(mnuLoadRange, &QAction::triggered, this, &RangeFileCommands::mnuLoadRange_Click);
    connect(mnuSaveSelection, &QAction::triggered, this,
            &RangeFileCommands::mnuSaveSelection_Click);
}

void RangeFileCommands::warn(const QString& title, const QString& text)
{
    MessageBoxRequest message;
    message.title = title;
    message.icon = MessageIcon::Warning;
    message.text = text;
    m_services.dialogs.showMessage(message);
}

FileDialogResult RangeFileCommands::chooseFile(FileDialogKind kind, const QString& title)
{
    using namespace SettingsKeys;
    const bool open = kind == FileDialogKind::Open;
    FileDialogRequest request;
    request.kind = kind;
    request.title = title;
    request.initialFolder =
        m_services.settings.get(kSettings, open ? kOpenDir : kSaveDir, QString());
    request.filter = open ? openFileFilter() : saveFileFilter();
    request.defaultExtension = QStringLiteral("HEX");
    return m_services.dialogs.showFileDialog(request);
}

std::optional<qint64> RangeFileCommands::askTarget(const QString& title)
{
    const qint64 size = m_services.state.image.size();
    const QString lastAddress = EditTexts::addressText(size - 1);
    TextInputRequest request;
    request.title = title;
    request.label = tr("読み込み先のアドレスを16進数で入力してください (0x00000～%1)。\r\n"
                       "ファイルのアドレス 0 のバイトがここに入ります。")
                        .arg(lastAddress);
    request.text = EditTexts::addressText(m_view.selectedRange().start).mid(2);
    const TextInputResult answer = m_services.dialogs.askText(request);
    if (!answer.accepted) return std::nullopt;
    const std::optional<qint64> target = GridNavigation::typedAddress(answer.text, size);
    if (!target) {
        warn(title, tr("「%1」はこのデバイスのアドレスではありません。\r\n"
                       "0x00000～%2 の16進数で入力してください。")
                        .arg(answer.text.trimmed(), lastAddress));
    }
    return target;
}

void RangeFileCommands::mnuLoadRange_Click()
{
    using namespace SettingsKeys;
    const qint64 size = m_services.state.image.size();
    if (size <= 0) return;
    const QString title = tr("ファイルを範囲に読み込む");
    const FileDialogResult chosen = chooseFile(FileDialogKind::Open, title);
    if (!chosen.accepted || chosen.fileName.isEmpty()) return;
    const std::optional<qint64> target = askTarget(title);
    if (!target) return;

    const QString path = chosen.fileName;
    const RangeFileRead read =
        readRangeFile(path, formatToLoad(path, chosen.filterIndex), RangeSource{}, size - *target);
    const QString failed = tr("ファイルを読み込めませんでした。") + QStringLiteral("\r\n") + path;
    switch (read.result) {
        case RangeFileRead::Result::Read:
            break;
        case RangeFileRead::Result::NoData:
            warn(title, noDataRecordText());
            return;
        case RangeFileRead::Result::NotRegularFile:
            warn(title, failed + QStringLiteral("\r\n") + notRegularFileText());
            return;
        case RangeFileRead::Result::Unreadable:
            warn(title, failed + QStringLiteral("\r\n") + read.error);
            return;
        case RangeFileRead::Result::TooLarge:
            warn(title, failed + QStringLiteral("\r\n") + tr("ファイルが大きすぎます。"));
            return;
    }
    if (const qint64 overrun = read.overrun(*target, size); overrun > 0) {
        MessageBoxRequest question;
        question.title = title;
        question.icon = MessageIcon::Question;
        question.buttons = MessageButtons::YesNo;
        question.text = tr("ファイルのうち %1 バイトはデバイスの終わり (%2) を越えるため"
                           "読み込めません。\r\n入る分だけ読み込みますか？")
                            .arg(overrun)
                            .arg(EditTexts::addressText(size - 1));
        if (m_services.dialogs.showMessage(question) != MessageAnswer::Yes) return;
    }

    const EditOutcome outcome = m_services.state.editor.writeRuns(*target, read.runs);
    qint64 end = *target;
    for (const ByteRun& run : read.runs) end = std::max(end, *target + run.end());
    end = std::min(end, size);
    if (end > *target) m_view.selectRange(end - 1, *target);
    m_panels.setText(1, tr("%1 の %2 バイトを %3 から読み込みました。")
                            .arg(QFileInfo(path).fileName())
                            .arg(outcome.written)
                            .arg(EditTexts::addressText(*target)));
    m_services.settings.save(kSettings, kOpenDir,
                             folderOfChosenFile(chosen.fileName, chosen.fileTitle));
    if (read.summary.badRecords > 0) {
        warn(title, tr("チェックサムが正しくないレコードが %1 件ありました。\r\n"
                       "それらのデータもそのまま読み込みました。")
                        .arg(read.summary.badRecords));
    }
}

void RangeFileCommands::mnuSaveSelection_Click()
{
    using namespace SettingsKeys;
    const AddressRange range = m_view.selectedRange();
    if (range.isEmpty()) return;
    const QString title = tr("選択範囲を保存");
    const FileDialogResult chosen = chooseFile(FileDialogKind::Save, title);
    if (!chosen.accepted || chosen.fileName.isEmpty()) return;
    const QString path = chosen.fileName;
    const QString failed = tr("ファイルに保存できませんでした。") + QStringLiteral("\r\n") + path +
                           QStringLiteral("\r\n");

    // A pipe is refused before the overwrite question, which would be asked in vain.
    if (const FileWriteFailure problem = replacementProblem(path, range.length); problem.failed()) {
        warn(title, failed + writeFailureText(problem));
        return;
    }
    const QFileInfo target(path);
    if (FileExists(path) || (target.exists() && !target.isDir())) {
        MessageBoxRequest question;
        question.text = tr("ファイルが存在します。上書きしますか？");
        question.title = title;
        question.icon = MessageIcon::Question;
        question.buttons = MessageButtons::OkCancel;
        if (m_services.dialogs.showMessage(question) != MessageAnswer::Ok) return;
    }
    const FileWriteFailure failure =
        saveRangeFile(path, formatToSave(path, chosen.filterIndex), m_services.state.image, range);
    if (failure.failed()) {
        warn(title, failed + writeFailureText(failure));
        return;
    }
    m_panels.setText(
        1, tr("%1～%2 の %3 バイトを %4 に保存しました。")
               .arg(EditTexts::addressText(range.start), EditTexts::addressText(range.last()))
               .arg(range.length)
               .arg(QFileInfo(path).fileName()));
    m_services.settings.save(kSettings, kSaveDir,
                             folderOfChosenFile(chosen.fileName, chosen.fileTitle));
}
