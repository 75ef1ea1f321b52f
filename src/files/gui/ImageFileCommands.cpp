#include "files/gui/ImageFileCommands.h"

#include "app/ProgramState.h"
#include "app/gui/MainWindowControls.h"
#include "base/BusyIndicator.h"
#include "base/DesktopOpener.h"
#include "base/FileExists.h"
#include "base/HexText.h"
#include "base/ProductInfo.h"
#include "base/SettingsStore.h"
#include "base/StatusPanels.h"
#include "base/UserDialogs.h"
#include "files/FolderMemory.h"
#include "files/IntelHexFile.h"
#include "files/IntelHexWriter.h"
#include "image/ListingPath.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QStringList>

namespace {

const QString kSaveCancelled = QStringLiteral("ファイル保存をキャンセルしました。");
const QString kSaving = QStringLiteral("ファイルに保存中..... ");
const QString kSaved = QStringLiteral("ファイルに保存終了。 ");
const QString kSaveFailed = QStringLiteral("ファイルに保存できませんでした。");
const QString kPleaseWait = QStringLiteral("しばらくお待ちください。");
const QString kNotOpened = QStringLiteral("ファイルをオープンできませんでした。");
const QString kLoading = QStringLiteral("ファイルをロードしています..........");
const QString kLoaded = QStringLiteral("ファイルオープン完了");
const QString kMessageTitle = QStringLiteral("メッセージ");

// Four digits as the program shows addresses, more where an address record reached further.
QString addressText(qint64 address)
{
    if (address <= 0xFFFFFFFF) return hexText(static_cast<quint32>(address), 4);
    return hexText(static_cast<quint32>(address >> 32), 1) +
           hexText(static_cast<quint32>(address & 0xFFFFFFFF), 8);
}

QString partialSaveText()
{
    return QStringLiteral("データ保存範囲。") + QString(10, QChar(0x3000)) +
           QStringLiteral(
               "\r\n データは、アドレス0x0000～0xFFFFの範囲のみ保存しました。"
               "\r\n （１Ｍサイズの１／２）");
}

}  // namespace

ImageFileCommands::ImageFileCommands(const AppServices& services, StatusPanels& panels,
                                     BusyIndicator& busy, CaptionSetter setCaption, QObject* parent)
    : QObject(parent),
      m_services(services),
      m_panels(panels),
      m_busy(busy),
      m_setCaption(std::move(setCaption))
{
}

void ImageFileCommands::connectControls(const MainWindowControls& controls)
{
    connect(controls.mnuFileSaveAs, &QAction::triggered, this,
            &ImageFileCommands::mnuFileSaveAs_Click);
    connect(controls.Cmd_SaveAs, &QPushButton::clicked, this, &ImageFileCommands::Cmd_SaveAs_Click);
    connect(controls.mnuFileOpen, &QAction::triggered, this, &ImageFileCommands::mnuFileOpen_Click);
    connect(controls.Cmd_Open, &QPushButton::clicked, this, &ImageFileCommands::Cmd_Open_Click);
    connect(controls.mnuOutPutTextFile, &QAction::triggered, this,
            &ImageFileCommands::mnuOutPutTextFile_Click);
}

void ImageFileCommands::mnuFileSaveAs_Click()
{
    using namespace SettingsKeys;
    FileDialogRequest request;
    request.kind = FileDialogKind::Save;
    request.initialFolder = m_services.settings.get(kSettings, kSaveDir, QString());
    request.filter = QStringLiteral("Hexファイル|*.hex|全てのファイル|*.*|");
    request.defaultExtension = QStringLiteral("HEX");
    const FileDialogResult chosen = m_services.dialogs.showFileDialog(request);
    if (!chosen.accepted || chosen.fileName.isEmpty()) {
        m_busy.setBusy(false);
        m_panels.setText(1, kSaveCancelled);
        return;
    }
    m_workFilePath = chosen.fileName;

    // Asked for every existing file, also one that cannot be read, since it will be replaced.
    const QFileInfo target(m_workFilePath);
    if (FileExists(m_workFilePath) || (target.exists() && !target.isDir())) {
        MessageBoxRequest question;
        question.text = QStringLiteral("ファイルが存在します。上書きしますか？");
        question.title = QStringLiteral("上書き保存");
        question.icon = MessageIcon::Question;
        question.buttons = MessageButtons::OkCancel;
        if (m_services.dialogs.showMessage(question) == MessageAnswer::Cancel) {
            m_panels.setText(1, kSaveCancelled);
            return;
        }
    }

    m_panels.setText(1, kSaving);
    m_busy.setBusy(true);
    const MemoryImage& image = m_services.state.image;
    const QString error = saveIntelHexFile(m_workFilePath, image);
    if (!error.isEmpty()) {
        m_panels.setText(1, kSaveFailed);
        m_busy.setBusy(false);
        MessageBoxRequest failure;
        failure.text = kSaveFailed + QStringLiteral("\r\n") + m_workFilePath +
                       QStringLiteral("\r\n原因: ") + error;
        failure.title = kMessageTitle;
        failure.icon = MessageIcon::Critical;
        m_services.dialogs.showMessage(failure);
        return;
    }

    m_setCaption(ProductInfo::titleText() + chosen.fileName);
    m_services.settings.save(kSettings, kSaveDir,
                             folderOfChosenFile(chosen.fileName, chosen.fileTitle));
    m_panels.setText(1, kSaved);
    m_busy.setBusy(false);

    if (image.size() > kIntelHexSaveLimit) {
        MessageBoxRequest notice;
        notice.text = partialSaveText();
        notice.title = kMessageTitle;
        notice.icon = MessageIcon::Information;
        m_services.dialogs.showMessage(notice);
    }
}

void ImageFileCommands::mnuFileOpen_Click()
{
    using namespace SettingsKeys;
    m_panels.setText(1, kPleaseWait);

    FileDialogRequest request;
    request.kind = FileDialogKind::Open;
    request.initialFolder = m_services.settings.get(kSettings, kOpenDir, QString());
    request.filter = QStringLiteral("Hexファイル|*.HEX|全てのファイル|*.*|");
    request.defaultExtension = QStringLiteral("HEX");
    request.fileName = QStringLiteral("*.HEX");
    const FileDialogResult chosen = m_services.dialogs.showFileDialog(request);
    m_workFilePath = chosen.accepted ? chosen.fileName : QString();
    if (!chosen.accepted || !FileExists(m_workFilePath)) {
        m_panels.setText(1, kNotOpened);
        return;
    }

    m_busy.setBusy(true);
    m_panels.setText(1, kLoading);
    ProgramState& state = m_services.state;
    const qint64 size = state.selectedDevice ? state.selectedDevice->memorySize() : 0;
    const IntelHexLoad load = loadIntelHexFile(m_workFilePath, size);
    if (!load.complete) {
        m_busy.setBusy(false);
        m_panels.setText(1, kNotOpened);
        return;
    }

    m_services.settings.save(kSettings, kOpenDir,
                             folderOfChosenFile(chosen.fileName, chosen.fileTitle));
    m_setCaption(ProductInfo::titleText() + m_workFilePath);
    state.image = load.image;
    if (m_showImage) m_showImage();
    m_panels.setText(1, kLoaded);
    m_busy.setBusy(false);
    reportLoadNotices(load);
}

void ImageFileCommands::reportLoadNotices(const IntelHexLoad& load)
{
    QStringList notices;
    if (load.summary.hasDataBeyond()) {
        if (load.image.size() == 0) {
            notices.append(QStringLiteral(
                "デバイスが選択されていないため、ファイルのデータは読み込みませんでした。"));
        } else {
            notices.append(
                QStringLiteral("ファイルには、デバイスの最終アドレス 0x%1 を超えるデータが"
                               "ありました（アドレス 0x%2 から）。\r\n"
                               "範囲内のデータだけを読み込みました。")
                    .arg(addressText(load.image.size() - 1),
                         addressText(load.summary.lowestAddressBeyond)));
        }
    }
    if (load.summary.badRecords > 0) {
        notices.append(QStringLiteral("チェックサムが正しくないレコードが %1 件ありました。\r\n"
                                      "それらのデータもそのまま読み込みました。")
                           .arg(load.summary.badRecords));
    }
    if (notices.isEmpty()) return;

    MessageBoxRequest message;
    message.text = notices.join(QStringLiteral("\r\n"));
    message.title = kMessageTitle;
    message.icon = MessageIcon::Warning;
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
        message.text = QStringLiteral("テキストデータのファイルがありません。\r\n%1")
                           .arg(QDir::toNativeSeparators(path));
    } else if (!m_services.desktop.openFile(path)) {
        message.text = QStringLiteral(
                           "テキストデータを表示するプログラムを起動できませんでした。\r\n"
                           "次のファイルをテキストエディターなどで開いてください。\r\n%1")
                           .arg(QDir::toNativeSeparators(path));
    } else {
        return;
    }
    m_services.dialogs.showMessage(message);
}
