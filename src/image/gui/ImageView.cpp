#include "image/gui/ImageView.h"

#include "app/ProgramState.h"
#include "app/gui/MainWindowControls.h"
#include "base/BusyIndicator.h"
#include "base/StatusPanels.h"
#include "image/CheckSum.h"
#include "image/GridAddress.h"
#include "image/ImageListing.h"
#include "image/ListingPath.h"

#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

ImageView::ImageView(MainWindowControls& controls, const AppServices& services,
                     StatusPanels& panels, BusyIndicator& busy)
    : m_controls(controls),
      m_services(services),
      m_panels(panels),
      m_busy(busy),
      m_grid(controls.MSFGrid1),
      m_editor(controls, services.state, m_grid, panels)
{
    connect(&m_grid, &HexGrid::clicked, this, &ImageView::MSFGrid1_Click);
    connect(&m_grid, &HexGrid::currentCellChanged, this, &ImageView::followCurrentCell);
    connect(m_controls.Command1, &QPushButton::clicked, this, &ImageView::Command1_Click);
    connect(m_controls.mnuBufferClear, &QAction::triggered, this, &ImageView::mnuBufferClear_Click);
}

void ImageView::ClearImage()
{
    const auto& device = m_services.state.selectedDevice;
    m_services.state.image.recreate(device ? device->memorySize() : 0);
    // The rebuild replaces every row and clears the current cell first; until then the grid
    // keeps showing its own copy of the old image, never the re-created one.
    ShowImage();
}

void ImageView::ShowImage()
{
    m_busy.setBusy(true);
    m_panels.setText(1, QStringLiteral("データ表示中です。　しばらくお待ちください。"));
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

    m_controls.LblCheckSUM->setText(CheckSumText(image));
    MSFGrid1_Click();
    m_busy.setBusy(false);
    m_panels.setText(1, QStringLiteral("終了"));
    emit imageShown();
}

void ImageView::MSFGrid1_Click() { m_editor.MSFGrid1_Click(); }

void ImageView::followCurrentCell()
{
    if (!m_rebuilding) m_editor.followCurrentCell();
}

void ImageView::Command1_Click()
{
    ClearImage();
    m_panels.setText(1, QStringLiteral("ＰＣのバッファをクリアしました。"));
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
