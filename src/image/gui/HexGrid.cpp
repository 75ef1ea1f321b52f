#include "image/gui/HexGrid.h"

#include "base/Twips.h"
#include "base/gui/UiFonts.h"
#include "image/GridAddress.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
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
    m_view->viewport()->installEventFilter(this);

    connect(m_view, &QTableView::clicked, this, [this] { emit clicked(); });
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &HexGrid::followCurrentCell);
    FormatGrid();
}

void HexGrid::rebuild(const QByteArray& image)
{
    m_model.rebuild(image);
    m_dragging = false;
    setCurrentCell(0, 0);
    m_selection.collapseTo(0);
    showSelection();
}

void HexGrid::refreshRange(const QByteArray& image, AddressRange range)
{
    m_model.refreshRange(image, range.start, range.length);
    m_selection.clampTo(image.size());
}

void HexGrid::followCurrentCell()
{
    emit currentCellChanged();
    // A move of the selection's cursor, or a drag, has set the selection already.
    if (m_extending) return;
    const std::optional<qint64> address = currentAddress();
    if (!address) return;
    if (m_dragging) {
        m_selection.extendTo(*address);
    } else {
        m_selection.collapseTo(*address);
    }
    showSelection();
}

AddressRange HexGrid::selectedRange() const
{
    const qint64 size = m_model.imageSize();
    AddressRange range = m_selection.range().clippedTo(size);
    if (wordView() && !range.isEmpty()) {
        range = AddressRange::upTo(range.start & ~qint64{1},
                                   std::min(size, (range.end() + 1) & ~qint64{1}));
    }
    return range;
}

bool HexGrid::selectsMore() const
{
    const AddressRange range = selectedRange();
    return range.length > (wordView() ? 2 : 1);
}

void HexGrid::selectRange(qint64 anchor, qint64 cursor)
{
    m_selection.collapseTo(anchor);
    m_selection.extendTo(cursor);
    m_selection.clampTo(m_model.imageSize());
    moveCurrentToCursor();
    showSelection();
}

void HexGrid::extendSelection(Selection::Move move)
{
    const qint64 size = m_model.imageSize();
    if (size <= 0) return;
    m_selection.extend(move, size, visibleRows());
    // In the word view a step to the side is a word.
    if (wordView() && (move == Selection::Move::Left || move == Selection::Move::Right)) {
        m_selection.extend(move, size, visibleRows());
    }
    moveCurrentToCursor();
    showSelection();
}

void HexGrid::selectAll()
{
    m_selection.selectAll(m_model.imageSize());
    moveCurrentToCursor();
    showSelection();
}

void HexGrid::moveCurrentToCursor()
{
    qint64 cursor = m_selection.cursor();
    if (wordView()) cursor &= ~qint64{1};
    m_extending = true;
    setCurrentCell(GridAddress::rowOf(cursor), GridAddress::columnOf(cursor));
    m_extending = false;
    m_view->scrollTo(m_view->currentIndex());
}

void HexGrid::showSelection()
{
    // The current cell alone the view shows as selected itself.
    m_delegate.setSelection(selectsMore() ? selectedRange() : AddressRange{});
    m_view->viewport()->update();
    emit selectionChanged();
}

void HexGrid::setWordView(bool words)
{
    if (words == wordView()) return;
    m_model.setWordView(words);
    FormatGrid();
    const std::optional<qint64> address = currentAddress();
    if (words && address && *address % 2 != 0) {
        setCurrentCell(GridAddress::rowOf(*address - 1), GridAddress::columnOf(*address - 1));
    }
    showSelection();
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

    const bool words = wordView();
    const int byteWidth =
        fittingWidth(kByteTwips, words ? QStringLiteral("0xFFFF") : QStringLiteral("0xFF"));
    for (int column = GridAddress::kFirstByteColumn; column <= GridAddress::kLastByteColumn;
         ++column) {
        // A word takes the cells of its two bytes: the odd byte's cell is hidden.
        const bool oddByte = (column - GridAddress::kFirstByteColumn) % 2 != 0;
        m_view->setColumnHidden(column - 1, words && oddByte);
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
        return filterKey(static_cast<QKeyEvent*>(event));
    }
    if (watched == m_view->viewport()) return filterMouse(event);
    return QObject::eventFilter(watched, event);
}

bool HexGrid::filterKey(const QKeyEvent* key)
{
    if (const auto move = Selection::moveForKey(key->key(), key->modifiers())) {
        extendSelection(*move);
        return true;
    }
    // Typed characters would start the view's search-by-text and jump to another cell.
    const QString text = key->text();
    return !text.isEmpty() && text.at(0).isPrint() &&
           !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

bool HexGrid::filterMouse(QEvent* event)
{
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease) {
        return false;
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const std::optional<qint64> address = addressAt(mouse->position().toPoint());
    if (type == QEvent::MouseButtonPress) {
        if (mouse->button() != Qt::LeftButton || !address || !m_view->isEnabled()) return false;
        if (mouse->modifiers() & Qt::ShiftModifier) {
            m_selection.extendTo(*address);
        } else {
            m_selection.collapseTo(*address);
        }
        m_dragging = true;
        showSelection();
    } else if (type == QEvent::MouseMove) {
        if (!m_dragging || !(mouse->buttons() & Qt::LeftButton)) return false;
        if (address && *address != m_selection.cursor()) {
            m_selection.extendTo(*address);
            showSelection();
        }
    } else if (mouse->button() == Qt::LeftButton && m_dragging) {
        m_dragging = false;
        // A click without Shift selects the current cell alone (a click on a text cell makes
        // the row's last byte current).
        if (m_selection.anchor() == m_selection.cursor() || !address) return false;
        if (!(mouse->modifiers() & Qt::ShiftModifier) && m_selection.anchor() == *address) {
            if (const auto current = currentAddress()) m_selection.collapseTo(*current);
            showSelection();
        }
    }
    return false;
}

std::optional<qint64> HexGrid::addressAt(const QPoint& position) const
{
    const QModelIndex index = m_view->indexAt(position);
    if (!index.isValid()) return std::nullopt;
    const int row = index.row() + 1;
    const int column = index.column() + 1;
    if (column != GridAddress::kTextColumn) return GridAddress::addressOf(row, column);
    const QRect cell = m_view->visualRect(index);
    const int margin = m_view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1;
    const int advance = std::max(1, m_view->fontMetrics().horizontalAdvance(QLatin1Char('W')));
    const int character = std::clamp((position.x() - cell.left() - margin) / advance, 0,
                                     GridAddress::kBytesPerRow - 1);
    const qint64 address = GridAddress::firstAddressOfRow(row) + character;
    return std::min(address, m_model.imageSize() - 1);
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
