#include "files/gui/FileCompareCommand.h"

#include "base/SettingsStore.h"
#include "base/StatusPanels.h"
#include "base/TranslatableText.h"
#include "base/UserDialogs.h"
#include "files/FileComparison.h"
#include "files/ImageFileFilters.h"
#include "files/gui/FileDialogFilters.h"
#include "files/gui/FileWriteTexts.h"
#include "files/gui/ImageLoadTexts.h"
#include "image/ComparisonView.h"
#include "session/ProgramState.h"

#include <QAction>

namespace {

constexpr TranslatableText kTitle{"FileCompareCommand",
                                  QT_TRANSLATE_NOOP("FileCompareCommand", "ファイルと比較")};
constexpr TranslatableText kCancelled{
    "FileCompareCommand",
    QT_TRANSLATE_NOOP("FileCompareCommand", "ファイル比較をキャンセルしました。")};
constexpr TranslatableText kNotOpened{
    "FileCompareCommand",
    QT_TRANSLATE_NOOP("FileCompareCommand", "ファイルをオープンできませんでした。")};

}  // namespace

FileCompareCommand::FileCompareCommand(const AppServices& services, StatusPanels& panels,
                                       ComparisonView& comparisons, QObject* parent)
    : QObject(parent), m_services(services), m_panels(panels), m_comparisons(comparisons)
{
}

void FileCompareCommand::connectControl(QAction* mnuFileCompare)
{
    m_mnuFileCompare = mnuFileCompare;
    connect(mnuFileCompare, &QAction::triggered, this, &FileCompareCommand::mnuFileCompare_Click);
}

void FileCompareCommand::setAccessRunning(bool running)
{
    if (m_mnuFileCompare) m_mnuFileCompare->setEnabled(!running);
}

void FileCompareCommand::mnuFileCompare_Click()
{
    if (m_busyCheck && m_busyCheck()) return;
    if (m_services.state.image.size() == 0) {
        m_panels.setText(1, tr("デバイスが選択されていません。"));
        return;
    }
    FileDialogRequest request;
    request.kind = FileDialogKind::Open;
    request.title = kTitle;
    request.initialFolder =
        m_services.settings.get(SettingsKeys::kSettings, SettingsKeys::kOpenDir, QString());
    const auto& device = m_services.state.selectedDevice;
    request.filter = openFileFilter(device && device->isMicrowire());
    request.defaultExtension = QStringLiteral("HEX");
    const FileDialogResult chosen = m_services.dialogs.showFileDialog(request);
    if (!chosen.accepted) {
        m_panels.setText(1, kCancelled);
        return;
    }
    compareWith(chosen.fileName, chosen.filterIndex);
}

bool FileCompareCommand::compareWith(const QString& path, int filterIndex)
{
    const FileComparison result =
        compareWithFile(path, formatToLoad(path, filterIndex), m_services.state.image.bytes(),
                        byteOrderForFilter(filterIndex));
    switch (result.load.result) {
        case ImageFileLoad::Result::Loaded:
            break;
        case ImageFileLoad::Result::NoData:
            m_panels.setText(1, noDataRecordText());
            warn(noDataRecordText());
            return false;
        case ImageFileLoad::Result::NotRegularFile:
            m_panels.setText(1, kNotOpened);
            warn(kNotOpened + QStringLiteral("\r\n") + notRegularFileText());
            return false;
        case ImageFileLoad::Result::TooLarge:
            m_panels.setText(1, kNotOpened);
            warn(kNotOpened + QStringLiteral("\r\n") + tooLargeText(result.load));
            return false;
        case ImageFileLoad::Result::Unreadable:
            m_panels.setText(1, kNotOpened);
            if (!result.load.error.isEmpty())
                warn(kNotOpened + QStringLiteral("\r\n") + result.load.error);
            return false;
    }
    const QString text = fileComparisonText(result.comparison);
    m_panels.setText(1, text);
    m_comparisons.showComparison(result.comparison, {kTitle, text, tr("ファイル")});
    const QStringList notices = imageLoadNotices(result.load, m_services.state.image.size());
    if (!notices.isEmpty()) warn(notices.join(QStringLiteral("\r\n")));
    return true;
}

void FileCompareCommand::warn(const QString& text)
{
    MessageBoxRequest message;
    message.text = text;
    message.title = tr("メッセージ");
    message.icon = MessageIcon::Warning;
    m_services.dialogs.showMessage(message);
}
