#include "image/gui/HexGrid.h"

#include "base/Twips.h"
#include "base/gui/UiFonts.h"
#include "image/GridAddress.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QTableView>

namespace {

constexpr double kLabelTwips = 700;
constexpr double kByteTwips = 450;
constexpr double kTextTwips = 2000;
constexpr double kRowTwips = 240;

}  // namespace

HexGrid::HexGrid(QTableView* view) : m_view(view)
{
    m_model.setLabelHeader(QCoreApplication::translate("HexGridModel", "　Adr."));
    m_view->setModel(&m_model);
    m_view->setItemDelegate(&m_delegate);
    m_view->setFont(UiFonts::fixedPitch(9));
    m_view->horizontalHeader()->setFont(m_view->font());
    m_view->verticalHeader()->setFont(m_view->font());
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setTabKeyNavigation(false);
    m_view->setWordWrap(false);
    m_view->setTextElideMode(Qt::ElideNone);
    m_view->setCornerButtonEnabled(false);
    for (QHeaderView* header : {m_view->horizontalHeader(), m_view->verticalHeader()}) {
        header->setSectionsClickable(false);
        header->setHighlightSections(false);
        header->setSectionResizeMode(QHeaderView::Fixed);
        // Measure only the sections on screen: a 1 Mbit image has 8,192 row labels.
        header->setResizeContentsPrecision(0);
    }
    m_view->horizontalHeader()->setStretchLastSection(false);
    m_view->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_corner = m_view->findChild<QAbstractButton*>();
    if (m_corner) {
        m_corner->setFont(m_view->font());
        m_corner->installEventFilter(this);
    }
    m_view->installEventFilter(this);

    connect(m_view, &QTableView::clicked, this, [this] { emit clicked(); });
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { emit currentCellChanged(); });
    FormatGrid();
}

void HexGrid::rebuild(const QByteArray& image)
{
    m_model.rebuild(image);
    setCurrentCell(0, 0);
}

int HexGrid::fittingWidth(double twips, const QString& widestText) const
{
    // The item delegate keeps a focus-frame margin and one pixel on each side of the text.
    const int margin = 2 * (m_view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    const int needed = m_view->fontMetrics().horizontalAdvance(widestText) + margin;
    return std::max(twipsToPixels(twips, m_view->logicalDpiX()), needed);
}

void HexGrid::FormatGrid()
{
    const int dpi = m_view->logicalDpiY();
    const int rowHeight =
        std::max(twipsToPixels(kRowTwips, dpi), m_view->fontMetrics().height() + 4);
    m_view->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_view->verticalHeader()->setMinimumSectionSize(rowHeight);
    // The vertical header is the label column: wide enough for the last label of a 1 Mbit part.
    m_view->verticalHeader()->setFixedWidth(fittingWidth(kLabelTwips, QStringLiteral("0x1FFF0")) +
                                            2);

    const int byteWidth = fittingWidth(kByteTwips, QStringLiteral("0xFF"));
    for (int column = GridAddress::kFirstByteColumn; column <= GridAddress::kLastByteColumn;
         ++column) {
        m_view->setColumnWidth(column - 1, byteWidth);
    }
    // Half-width characters: 16 of them in the fixed-pitch face.
    m_view->setColumnWidth(GridAddress::kTextColumn - 1,
                           fittingWidth(kTextTwips, QString(16, QLatin1Char('W'))));
}

int HexGrid::currentRow() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

int HexGrid::currentColumn() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.column() + 1 : 0;
}

void HexGrid::setCurrentCell(int row, int column)
{
    const QModelIndex cell = m_model.indexOfCell(row, column);
    if (cell.isValid()) {
        m_view->setCurrentIndex(cell);
    } else {
        m_view->selectionModel()->clear();
    }
}

void HexGrid::reselectCurrentCell()
{
    const QModelIndex current = m_view->currentIndex();
    if (current.isValid()) {
        m_view->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
    }
}

int HexGrid::visibleRows() const
{
    const int rowHeight = std::max(1, m_view->verticalHeader()->defaultSectionSize());
    return std::max(1, m_view->viewport()->height() / rowHeight);
}

std::optional<qint64> HexGrid::currentAddress() const
{
    return GridAddress::addressOf(currentRow(), currentColumn());
}

QString HexGrid::cellText(int row, int column) const { return m_model.cellText(row, column); }

void HexGrid::setCellText(int row, int column, const QString& text)
{
    m_model.setCellText(row, column, text);
}

bool HexGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_corner && event->type() == QEvent::Paint) {
        paintCorner();
        return true;
    }
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        // Typed characters would start the view's search-by-text and jump to another cell.
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint() &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

// The corner above the labels is the header cell of column 0.
void HexGrid::paintCorner()
{
    QStylePainter painter(m_corner);
    QStyleOptionHeader option;
    option.initFrom(m_corner);
    // The corner button is disabled so that it cannot select the grid; it still looks like a
    // header.
    if (m_view->isEnabled()) {
        option.state |= QStyle::State_Enabled;
        option.palette.setCurrentColorGroup(QPalette::Active);
    }
    option.state |= QStyle::State_Raised;
    option.rect = m_corner->rect();
    option.position = QStyleOptionHeader::OnlyOneSection;
    option.text = cellText(GridAddress::kHeaderRow, GridAddress::kLabelColumn);
    option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    painter.drawControl(QStyle::CE_Header, option);
}
