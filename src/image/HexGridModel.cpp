#include "image/HexGridModel.h"

#include "image/GridAddress.h"
#include "image/GridTexts.h"

#include <algorithm>

QString HexGridModel::headerText(int column) const
{
    if (column == GridAddress::kLabelColumn) return m_labelHeader;
    if (column == GridAddress::kTextColumn) return QStringLiteral("ASCII");
    if (column >= GridAddress::kFirstByteColumn && column <= GridAddress::kLastByteColumn) {
        return GridTexts::byteCellText(static_cast<std::uint8_t>(column - 1));
    }
    return {};
}

void HexGridModel::rebuild(const QByteArray& image)
{
    beginResetModel();
    m_image = image;
    m_rows = GridAddress::dataRowCount(image.size());
    m_written.clear();
    m_marks.clear();
    m_found.clear();
    endResetModel();
}

void HexGridModel::clear() { rebuild({}); }

void HexGridModel::refreshRange(const QByteArray& image, qint64 first, qint64 count)
{
    if (image.size() != m_image.size()) {
        rebuild(image);
        return;
    }
    first = std::max<qint64>(first, 0);
    const qint64 end = std::min<qint64>(first + std::max<qint64>(count, 0), m_image.size());
    if (end <= first) return;
    m_image.replace(first, end - first, image.constData() + first, end - first);

    const int firstRow = GridAddress::rowOf(first);
    const int lastRow = std::min(GridAddress::rowOf(end - 1), m_rows);
    if (!m_written.isEmpty()) {
        m_written.removeIf([&](const QHash<quint64, QString>::iterator& cell) {
            const int row = static_cast<int>(cell.key() >> 8);
            return row >= firstRow && row <= lastRow;
        });
    }
    for (QBitArray* marks : {&m_marks, &m_found}) {
        const qint64 marksEnd = std::min<qint64>(end, marks->size());
        if (first < marksEnd) marks->fill(false, first, marksEnd);
    }
    if (firstRow <= lastRow) {
        emit dataChanged(index(firstRow - 1, 0), index(lastRow - 1, GridAddress::kColumnCount - 2),
                         {Qt::DisplayRole, kMarkedRole});
    }
}

QString HexGridModel::rebuildText(int row, int column) const
{
    if (row == GridAddress::kHeaderRow) return headerText(column);
    const qint64 first = GridAddress::firstAddressOfRow(row);
    if (column == GridAddress::kLabelColumn) return GridTexts::rowLabelText(first);
    if (column == GridAddress::kTextColumn) return GridTexts::fillRuleRowText(m_image, first);
    const qint64 address = first + (column - 1);
    if (m_wordView) {
        if (address % 2 != 0 || address + 1 >= m_image.size()) return {};
        return GridTexts::wordCellText(
            static_cast<std::uint16_t>((static_cast<std::uint8_t>(m_image.at(address)) << 8) |
                                       static_cast<std::uint8_t>(m_image.at(address + 1))));
    }
    return GridTexts::byteCellText(static_cast<std::uint8_t>(m_image.at(address)));
}

QString HexGridModel::cellText(int row, int column) const
{
    if (row < 0 || row > m_rows || column < 0 || column >= GridAddress::kColumnCount) return {};
    // A word shows both its bytes as the image holds them, whatever was written in one cell.
    if (m_wordView && row > 0 && GridAddress::addressOf(row, column)) {
        return rebuildText(row, column);
    }
    const auto written = m_written.constFind(key(row, column));
    return written != m_written.cend() ? *written : rebuildText(row, column);
}

void HexGridModel::setCellText(int row, int column, const QString& text)
{
    if (row < 0 || row > m_rows || column < 0 || column >= GridAddress::kColumnCount) return;
    m_written.insert(key(row, column), text);
    if (const auto address = GridAddress::addressOf(row, column);
        address && *address < m_marks.size()) {
        m_marks.clearBit(*address);
    }
    announceChange(row, column);
}

void HexGridModel::setMarks(const QBitArray& addresses)
{
    const bool hadMarks = markCount() > 0;
    m_marks = addresses;
    if (hadMarks || markCount() > 0) announceAllBytes({kMarkedRole});
}

bool HexGridModel::isMarked(int row, int column) const { return cellMarked(m_marks, row, column); }

void HexGridModel::setFoundMarks(const QBitArray& addresses)
{
    const bool hadMarks = foundCount() > 0;
    m_found = addresses;
    if (hadMarks || foundCount() > 0) announceAllBytes({kFoundRole});
}

bool HexGridModel::isFound(int row, int column) const { return cellMarked(m_found, row, column); }

void HexGridModel::setWordView(bool words)
{
    if (words == m_wordView) return;
    m_wordView = words;
    announceAllBytes({Qt::DisplayRole, kMarkedRole, kFoundRole});
}

bool HexGridModel::cellMarked(const QBitArray& marks, int row, int column) const
{
    if (row > m_rows) return false;
    const auto address = GridAddress::addressOf(row, column);
    if (!address) return false;
    const auto marked = [&marks](qint64 at) { return at < marks.size() && marks.testBit(at); };
    if (m_wordView && *address % 2 == 0) return marked(*address) || marked(*address + 1);
    return marked(*address);
}

void HexGridModel::announceAllBytes(const QList<int>& roles)
{
    if (m_rows > 0) {
        emit dataChanged(index(0, 0), index(m_rows - 1, GridAddress::kLastByteColumn - 1), roles);
    }
}

void HexGridModel::announceChange(int row, int column)
{
    if (row == GridAddress::kHeaderRow && column == GridAddress::kLabelColumn) {
        return;  // the corner is drawn from cellText() whenever it is painted
    }
    if (row == GridAddress::kHeaderRow) {
        emit headerDataChanged(Qt::Horizontal, column - 1, column - 1);
    } else if (column == GridAddress::kLabelColumn) {
        emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
    } else {
        const QModelIndex cell = index(row - 1, column - 1);
        emit dataChanged(cell, cell, {Qt::DisplayRole});
    }
}

QModelIndex HexGridModel::indexOfCell(int row, int column) const
{
    if (row < 1 || column < 1) return {};
    return index(row - 1, column - 1);
}

int HexGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int HexGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : GridAddress::kColumnCount - 1;
}

QVariant HexGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) return {};
    const int column = index.column() + 1;
    switch (role) {
        case Qt::DisplayRole:
            return cellText(index.row() + 1, column);
        case Qt::TextAlignmentRole:
            return column == GridAddress::kTextColumn
                       ? QVariant(int(Qt::AlignLeft | Qt::AlignVCenter))
                       : QVariant(int(Qt::AlignCenter));
        case kMarkedRole:
            return isMarked(index.row() + 1, column);
        case kFoundRole:
            return isFound(index.row() + 1, column);
        default:
            return {};
    }
}

QVariant HexGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const bool horizontal = orientation == Qt::Horizontal;
    switch (role) {
        case Qt::DisplayRole:
            return horizontal ? cellText(GridAddress::kHeaderRow, section + 1)
                              : cellText(section + 1, GridAddress::kLabelColumn);
        case Qt::TextAlignmentRole:
            // The format string centres the byte columns only.
            return horizontal && section + 1 != GridAddress::kTextColumn
                       ? QVariant(int(Qt::AlignCenter))
                       : QVariant(int(Qt::AlignLeft | Qt::AlignVCenter));
        default:
            return {};
    }
}

Qt::ItemFlags HexGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
