#include "files/gui/ImageFileCommands.h"
#include "image/gui/UnsavedQuestion.h"

#include "base/BusyIndicator.h"
#include "base/DesktopOpener.h"
#include "base/FileExists.h"
#include "base/ProductInfo.h"
#include "base/RegularFile.h"
#include "base/SettingsStore.h"
#include "base/StatusPanels.h"
#include "base/TranslatableText.h"
#include "devices/PartSizeCheck.h"
#include "files/FolderMemory.h"
#include "files/ImageFileFilters.h"
#include "files/ImageFileLoad.h"
#include "files/ImageFileSave.h"
#include "files/RecentFiles.h"
#include "files/gui/FileDialogFilters.h"
#include "files/gui/FileWriteTexts.h"
#include "files/gui/ImageLoadTexts.h"
#include "files/gui/RecentFilesMenu.h"
#include "image/ListingPath.h"
#include "session/ProgramState.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>

namespace {

constexpr TranslatableText kSaveCancelled{
    "ImageFileCommands",
    QT_TRANSLATE_NOOP("ImageFileCommands", "ファイル保存をキャンセルしました。")};
constexpr TranslatableText kSaving{
    "ImageFileCommands", QT_TRANSLATE_NOOP("ImageFileCommands", "ファイルに保存中..... ")};
constexpr TranslatableText kSaved{"ImageFileCommands",
                                  QT_TRANSLATE_NOOP("ImageFileCommands", "ファイルに保存終了。 ")};
constexpr TranslatableText kSaveFailed{
    "ImageFileCommands",
    QT_TRANSLATE_NOOP("ImageFileCommands", "ファイルに保存できませんでした。")};
constexpr TranslatableText kPleaseWait{
    "ImageFileCommands", QT_TRANSLATE_NOOP("ImageFileCommands", "しばらくお待ちください。")};
constexpr TranslatableText kNotOpened{
    "ImageFileCommands",
    QT_TRANSLATE_NOOP("ImageFileCommands", "ファイルをオープンできませんでした。")};
constexpr TranslatableText kLoading{
    "ImageFileCommands",
    QT_TRANSLATE_NOOP("ImageFileCommands", "ファイルをロードしています..........")};
constexpr TranslatableText kLoaded{"ImageFileCommands",
                                   QT_TRANSLATE_NOOP("ImageFileCommands", "ファイルオープン完了")};
constexpr TranslatableText kMessageTitle{"ImageFileCommands",
                                         QT_TRANSLATE_NOOP("ImageFileCommands", "メッセージ")};
constexpr TranslatableText kCause{"ImageFileCommands",
                                  QT_TRANSLATE_NOOP("ImageFileCommands", "\r\n原因: ")};

// "<what failed>\r\n<path>\r\n原因: <cause>"
QString failureText(const QString& what, const QString& path, const QString& cause)
{
    return what + QStringLiteral("\r\n") + path + kCause + cause;
}

}  // namespace

ImageFileCommands::ImageFileCommands(const AppServices& services, StatusPanels& panels,
                                     BusyIndicator& busy, CaptionSetter setCaption, QObject* parent)
    : QObject(parent),
      m_services(services),
      m_panels(panels),
      m_busy(busy),
      m_setCaption(std::move(setCaption)),
      m_recentFiles(std::make_unique<RecentFiles>(services.settings))
{
}

ImageFileCommands::~ImageFileCommands() = default;

void ImageFileCommands::connectControls(const FileControls& controls)
{
    m_controls = controls;
    connect(controls.mnuFileSaveAs, &QAction::triggered, this,
            &ImageFileCommands::mnuFileSaveAs_Click);
    connect(controls.Cmd_SaveAs, &QPushButton::clicked, this, &ImageFileCommands::Cmd_SaveAs_Click);
    connect(controls.mnuFileOpen, &QAction::triggered, this, &ImageFileCommands::mnuFileOpen_Click);
    connect(controls.Cmd_Open, &QPushButton::clicked, this, &ImageFileCommands::Cmd_Open_Click);
    connect(controls.mnuOutPutTextFile, &QAction::triggered, this,
            &ImageFileCommands::mnuOutPutTextFile_Click);
    m_recentFilesMenu = new RecentFilesMenu(
        *controls.mnuFileRecent, [this](const QString& path) { openRecentFile(path); }, this);
    m_recentFilesMenu->show(m_recentFiles->paths());
}

void ImageFileCommands::setAccessRunning(bool running)
{
    for (QAction* action : {m_controls.mnuFileOpen, m_controls.mnuFileSaveAs,
                            m_controls.mnuOutPutTextFile, m_controls.mnuFileRecent->menuAction()}) {
        action->setEnabled(!running);
    }
    m_controls.Cmd_Open->setEnabled(!running);
    m_controls.Cmd_SaveAs->setEnabled(!running);
}

QStringList ImageFileCommands::recentFiles() const { return m_recentFiles->paths(); }

bool ImageFileCommands::offersSwapped16() const
{
    const auto& device = m_services.state.selectedDevice;
    return device && device->isMicrowire();
}

void ImageFileCommands::mnuFileSaveAs_Click()
{
    using namespace SettingsKeys;
    FileDialogRequest request;
    request.kind = FileDialogKind::Save;
    request.initialFolder = m_services.settings.get(kSettings, kSaveDir, QString());
    request.filter = saveFileFilter(offersSwapped16());
    request.defaultExtension = QStringLiteral("HEX");
    const FileDialogResult chosen = m_services.dialogs.showFileDialog(request);
    if (!chosen.accepted || chosen.fileName.isEmpty()) {
        m_busy.setBusy(false);
        m_panels.setText(1, kSaveCancelled);
        return;
    }
    m_workFilePath = chosen.fileName;

    const QByteArray contents =
        imageFileContents(formatToSave(m_workFilePath, chosen.filterIndex),
                          m_services.state.image.bytes(), byteOrderForFilter(chosen.filterIndex));
    // What refuses the save is said before the overwrite question, which would be asked in vain.
    // A pipe is found without opening it, which would keep even the question waiting.
    const FileWriteFailure problem = replacementProblem(m_workFilePath, contents.size());
    if (problem.failed()) {
        reportSaveFailure(problem);
        return;
    }

    // Asked for every existing file, also one that cannot be read, since it will be replaced.
    const QFileInfo target(m_workFilePath);
    if (FileExists(m_workFilePath) || (target.exists() && !target.isDir())) {
        MessageBoxRequest question;
        question.text = tr("ファイルが存在します。上書きしますか？");
        question.title = tr("上書き保存");
        question.icon = MessageIcon::Question;
        question.buttons = MessageButtons::OkCancel;
        if (m_services.dialogs.showMessage(question) == MessageAnswer::Cancel) {
            m_panels.setText(1, kSaveCancelled);
            return;
        }
    }

    m_panels.setText(1, kSaving);
    m_busy.setBusy(true);
    const FileWriteFailure failure = replaceFile(m_workFilePath, contents);
    if (failure.failed()) {
        reportSaveFailure(failure);
        return;
    }

    m_setCaption(ProductInfo::titleText() + chosen.fileName);
    m_services.state.editor.markSaved();
    m_services.settings.save(kSettings, kSaveDir,
                             folderOfChosenFile(chosen.fileName, chosen.fileTitle));
    m_panels.setText(1, kSaved);
    m_busy.setBusy(false);
    remember(m_workFilePath);
}

void ImageFileCommands::reportSaveFailure(const FileWriteFailure& failure)
{
    m_panels.setText(1, kSaveFailed);
    m_busy.setBusy(false);
    showMessage(failureText(kSaveFailed, m_workFilePath, writeFailureText(failure)),
                MessageIcon::Critical);
}

void ImageFileCommands::mnuFileOpen_Click()
{
    using namespace SettingsKeys;
    m_panels.setText(1, kPleaseWait);

    FileDialogRequest request;
    request.kind = FileDialogKind::Open;
    request.initialFolder = m_services.settings.get(kSettings, kOpenDir, QString());
    request.filter = openFileFilter(offersSwapped16());
    request.defaultExtension = QStringLiteral("HEX");
    request.fileName = QStringLiteral("*.HEX");
    const FileDialogResult chosen = m_services.dialogs.showFileDialog(request);
    m_workFilePath = chosen.accepted ? chosen.fileName : QString();
    if (!chosen.accepted) {
        m_panels.setText(1, kNotOpened);
        return;
    }
    if (!loadFile(m_workFilePath, formatToLoad(m_workFilePath, chosen.filterIndex),
                  byteOrderForFilter(chosen.filterIndex))) {
        return;
    }
    m_services.settings.save(kSettings, kOpenDir,
                             folderOfChosenFile(chosen.fileName, chosen.fileTitle));
}

bool ImageFileCommands::loadFile(const QString& path, ImageFileFormat format, ImageByteOrder order)
{
    if (m_busyCheck && m_busyCheck()) return false;
    if (!mayDiscard(m_services.state.unsaved, m_services.dialogs)) {
        m_panels.setText(1, kNotOpened);
        return false;
    }
    m_workFilePath = path;
    // Refused before FileExists, whose trial open would wait on a pipe without a writer.
    if (isSpecialFile(path)) {
        m_panels.setText(1, kNotOpened);
        showMessage(failureText(kNotOpened, path, notRegularFileText()), MessageIcon::Warning);
        return false;
    }
    if (!FileExists(path)) {
        m_panels.setText(1, kNotOpened);
        return false;
    }

    m_busy.setBusy(true);
    m_panels.setText(1, kLoading);
    ProgramState& state = m_services.state;
    const qint64 size = state.selectedDevice ? state.selectedDevice->memorySize() : 0;
    const ImageFileLoad load = loadImageFile(path, format, size, order);
    switch (load.result) {
        case ImageFileLoad::Result::Loaded:
            break;
        case ImageFileLoad::Result::NotRegularFile:
            m_busy.setBusy(false);
            m_panels.setText(1, kNotOpened);
            showMessage(failureText(kNotOpened, path, notRegularFileText()), MessageIcon::Warning);
            return false;
        case ImageFileLoad::Result::TooLarge:
            m_busy.setBusy(false);
            m_panels.setText(1, kNotOpened);
            showMessage(failureText(kNotOpened, path, tooLargeText(load)), MessageIcon::Warning);
            return false;
        case ImageFileLoad::Result::Unreadable:
            m_busy.setBusy(false);
            m_panels.setText(1, kNotOpened);
            return false;
        case ImageFileLoad::Result::NoData:
            m_busy.setBusy(false);
            m_panels.setText(1, noDataRecordText());
            showMessage(noDataRecordText(), MessageIcon::Warning);
            return false;
    }

    m_setCaption(ProductInfo::titleText() + path);
    state.editor.replaceWhole(load.image, EditKind::FileLoad);
    state.loadedFileBytes = load.imageBytes();
    if (m_showImage) m_showImage();
    // Intel HEX chosen by its extension or filter says nothing more, as it always has.
    const bool nameFormat = load.formatFromContent || load.format != ImageFileFormat::IntelHex;
    m_panels.setText(1, nameFormat ? kLoaded + tr("（%1）").arg(formatName(load.format)) : kLoaded);
    m_busy.setBusy(false);
    remember(path);
    QStringList notices = imageLoadNotices(load, size);
    if (state.selectedDevice) {
        if (const auto mismatch = partSizeMismatch(load.imageBytes(), *state.selectedDevice)) {
            notices.append(
                partSizeNotice(*mismatch, partsFitting(state.catalogue, mismatch->fileBytes)));
        }
    }
    if (!notices.isEmpty()) showMessage(notices.join(QStringLiteral("\r\n")), MessageIcon::Warning);
    return true;
}

void ImageFileCommands::openRecentFile(const QString& path)
{
    if (m_busyCheck && m_busyCheck()) return;
    if (!QFileInfo::exists(path)) {
        m_recentFiles->remove(path);
        if (m_recentFilesMenu) m_recentFilesMenu->show(m_recentFiles->paths());
        m_panels.setText(1, kNotOpened);
        showMessage(tr("ファイルが見つかりません。\r\n%1\r\n"
                       "最近使ったファイルの一覧から削除しました。")
                        .arg(path),
                    MessageIcon::Warning);
        return;
    }
    loadFile(path);
}

void ImageFileCommands::remember(const QString& path)
{
    m_recentFiles->add(path);
    if (m_recentFilesMenu) m_recentFilesMenu->show(m_recentFiles->paths());
}

void ImageFileCommands::showMessage(const QString& text, MessageIcon icon)
{
    MessageBoxRequest message;
    message.text = text;
    message.title = kMessageTitle;
    message.icon = icon;
    m_services.dialogs.showMessage(message);
}

void ImageFileCommands::mnuOutPutTextFile_Click()
{
    // What cannot be shown is said, with the listing's path for the user to open it by hand.
    const QString path = listingFilePath(m_services.state.appFolder);
    MessageBoxRequest message;
    message.title = kMessageTitle;
    message.icon = MessageIcon::Warning;
    if (!FileExists(path)) {
        message.text =
            tr("テキストデータのファイルがありません。\r\n%1").arg(QDir::toNativeSeparators(path));
    } else if (!m_services.desktop.openFile(path)) {
        message.text = tr("テキストデータを表示するプログラムを起動できませんでした。\r\n"
                          "次のファイルをテキストエディターなどで開いてください。\r\n%1")
                           .arg(QDir::toNativeSeparators(path));
    } else {
        return;
    }
    m_services.dialogs.showMessage(message);
}
