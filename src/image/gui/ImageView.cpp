#include "image/gui/ImageView.h"
#include "image/gui/UnsavedQuestion.h"

#include "base/BusyIndicator.h"
#include "base/HexText.h"
#include "base/StatusPanels.h"
#include "base/UserDialogs.h"
#include "image/CheckSum.h"
#include "image/GridAddress.h"
#include "image/GridNavigation.h"
#include "image/ImageChecksums.h"
#include "image/ImageListing.h"
#include "image/ListingPath.h"
#include "session/ProgramState.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

ImageView::ImageView(const ImageControls& controls, const AppServices& services,
                     StatusPanels& panels, BusyIndicator& busy)
    : m_controls(controls),
      m_services(services),
      m_panels(panels),
      m_busy(busy),
      m_grid(controls.MSFGrid1),
      m_editor(controls.editor, services.state, m_grid, panels)
{
    connect(&m_grid, &HexGrid::clicked, this, &ImageView::MSFGrid1_Click);
    connect(&m_grid, &HexGrid::currentCellChanged, this, &ImageView::followCurrentCell);
    connect(m_controls.Command1, &QPushButton::clicked, this, &ImageView::Command1_Click);
    connect(m_controls.mnuGoTo, &QAction::triggered, this, &ImageView::mnuGoTo_Click);
    connect(m_controls.mnuBufferClear, &QAction::triggered, this, &ImageView::mnuBufferClear_Click);
    connect(&m_grid, &HexGrid::selectionChanged, this, &ImageView::selectionChanged);
    connect(m_controls.mnuCopyChecksums, &QAction::triggered, this,
            &ImageView::mnuCopyChecksums_Click);
    connect(m_controls.mnuView16, &QAction::toggled, this, &ImageView::mnuView16_Click);
    m_controls.editor.LblCheckSUM->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_controls.editor.LblCheckSUM->addAction(m_controls.mnuCopyChecksums);
    m_controls.mnuView16->setEnabled(false);
    m_services.state.editor.setObserver(this);
}

void ImageView::setAccessRunning(bool running)
{
    m_controls.MSFGrid1->setEnabled(!running);
    m_controls.editor.Frame1->setEnabled(!running);
    m_controls.Command1->setEnabled(!running);
    m_controls.mnuBufferClear->setEnabled(!running);
    if (!running) m_controls.editor.Text_modify_hex->setFocus();
}

void ImageView::ClearImage()
{
    const auto& device = m_services.state.selectedDevice;
    MemoryImage blank;
    blank.recreate(device ? device->memorySize() : 0);
    m_services.state.editor.replaceWhole(std::move(blank), EditKind::BufferClear);
    m_services.state.loadedFileBytes = 0;
    ShowImage();
}

void ImageView::imageChanged(const ImageChange& change)
{
    m_grid.refreshRange(m_services.state.image.bytes(), change.range);
    showChecksums();
    // The editor's own edits find it updating: it shows what was typed as it is.
    if (!m_rebuilding) m_editor.followCurrentCell();
    emit imageEdited(change);
}

void ImageView::showChecksums()
{
    const QByteArray& image = m_services.state.image.bytes();
    const ImageChecksums sums = ImageChecksums::of(image);
    m_controls.editor.LblCheckSUM->setText(CheckSumText(image));
    m_controls.editor.LblCheckSUM->setToolTip(
        tr("CRC-32: %1\nSHA-256: %2")
            .arg(hexText(sums.crc32, 8), QString::fromLatin1(sums.sha256.toHex())));
}

void ImageView::mnuCopyChecksums_Click()
{
    const QLabel* label = m_controls.editor.LblCheckSUM;
    QGuiApplication::clipboard()->setText(label->text() + u'\n' + label->toolTip());
    m_panels.setText(1, tr("チェックサムをクリップボードにコピーしました。"));
}

void ImageView::deviceSelected()
{
    const auto& device = m_services.state.selectedDevice;
    const bool microwire = device && device->isMicrowire();
    if (!microwire) m_controls.mnuView16->setChecked(false);
    m_controls.mnuView16->setEnabled(microwire);
}

void ImageView::mnuView16_Click(bool words) { m_grid.setWordView(words); }

void ImageView::ShowImage()
{
    m_busy.setBusy(true);
    m_panels.setText(1, tr("データ表示中です。　しばらくお待ちください。"));
    // Paint the text once; user input waits until the grid is whole again.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    const QByteArray image = m_services.state.image.bytes();
    m_rebuilding = true;
    m_grid.rebuild(image);
    m_listingWritten =
        ImageListing::write(image, listingFilePath(m_services.state.appFolder), m_panels);
    m_grid.setCurrentCell(1, GridAddress::kFirstByteColumn);
    m_grid.FormatGrid();
    m_rebuilding = false;

    showChecksums();
    MSFGrid1_Click();
    m_busy.setBusy(false);
    m_panels.setText(1, tr("終了"));
    emit imageShown();
}

void ImageView::MSFGrid1_Click() { m_editor.MSFGrid1_Click(); }

void ImageView::followCurrentCell()
{
    if (!m_rebuilding) m_editor.followCurrentCell();
}

void ImageView::mnuGoTo_Click()
{
    // A running access has locked the grid: the current cell is the one being read or written.
    if (!m_controls.MSFGrid1->isEnabled()) return;
    const qint64 size = m_services.state.image.size();
    if (size <= 0 || m_grid.rows() <= 1) return;
    const QString lastAddress = hexText(static_cast<quint32>(size - 1), 5);
    TextInputRequest request;
    request.title = tr("アドレスへ移動");
    request.label =
        tr("移動先のアドレスを16進数で入力してください (0x00000～0x%1):").arg(lastAddress);
    request.text = hexText(static_cast<quint32>(m_grid.currentAddress().value_or(0)), 5);
    const TextInputResult answer = m_services.dialogs.askText(request);
    if (!answer.accepted) return;

    const std::optional<qint64> address = GridNavigation::typedAddress(answer.text, size);
    if (!address) {
        MessageBoxRequest message;
        message.title = request.title;
        message.icon = MessageIcon::Warning;
        message.text = tr("「%1」はこのデバイスのアドレスではありません。\r\n"
                          "0x00000～0x%2 の16進数で入力してください。")
                           .arg(answer.text.trimmed(), lastAddress);
        m_services.dialogs.showMessage(message);
        return;
    }
    m_grid.setCurrentCell(GridAddress::rowOf(*address), GridAddress::columnOf(*address));
    m_controls.MSFGrid1->scrollTo(m_controls.MSFGrid1->currentIndex(),
                                  QAbstractItemView::PositionAtCenter);
    MSFGrid1_Click();
}

void ImageView::Command1_Click()
{
    if (!mayDiscard(m_services.state.unsaved, m_services.dialogs)) return;
    ClearImage();
    m_panels.setText(1, tr("ＰＣのバッファをクリアしました。"));
}

void ImageView::mnuBufferClear_Click() { Command1_Click(); }

std::optional<qint64> ImageView::currentAddress() const
{
    const std::optional<qint64> address = m_grid.currentAddress();
    if (!address || !m_services.state.image.contains(*address)) return std::nullopt;
    return address;
}

void ImageView::showAddress(qint64 address)
{
    if (!m_services.state.image.contains(address)) return;
    m_grid.setCurrentCell(GridAddress::rowOf(address), GridAddress::columnOf(address));
    m_grid.view()->scrollTo(m_grid.view()->currentIndex());
}

void ImageView::setCurrentCellText(const QString& text)
{
    if (!GridAddress::addressOf(m_grid.currentRow(), m_grid.currentColumn())) return;
    m_grid.setCellText(m_grid.currentRow(), m_grid.currentColumn(), text);
}
