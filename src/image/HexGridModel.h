#pragma once

#include <QAbstractTableModel>
#include <QBitArray>
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

// The hex grid's texts, asked for cell by cell when the view paints, so even a 1 Mbit image
// (8,192 rows) is shown at once. The texts are those of the last rebuild: the image as it was
// then, with the single cells written since (the byte editor, Byte Read) laid over it; a cell
// nobody rewrote keeps its rebuild text even where the image has changed since.
//
// Byte cells can be marked (a verify found them different from the chip); a mark lasts until
// the next rebuild or until that cell's text is rewritten (an edit). Matches of a find have
// marks of their own beside them, which an edit of their bytes also takes away.
//
// For a Microwire part the byte columns can show 16-bit words instead: the word at an even
// address in the cell of that address ("0x1234": the even byte high, as the part sends a word in
// its x16 organisation), the cell of the odd byte empty (the view hides it). The image and the
// rewritten cell texts stay as they are; the word cells show the image at the last refresh.
//
// Cells are addressed as in the grid: row 0 is the header, column 0 the row labels, columns
// 1..16 the bytes and column 17 the text cells. The view shows row 0 as its horizontal header
// and column 0 as its vertical header, so model index (r, c) is grid cell (r + 1, c + 1).
class HexGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // data() of a byte cell under this role: true while the cell is marked.
    static constexpr int kMarkedRole = Qt::UserRole + 1;
    // data() of a byte cell under this role: true while the cell holds a byte of a match.
    static constexpr int kFoundRole = Qt::UserRole + 2;

    using QAbstractTableModel::QAbstractTableModel;

    // The grid's header row: the address column's label, "0x00" .. "0x0F", "ASCII".
    [[nodiscard]] QString headerText(int column) const;
    // The address column's label, in the window's words.
    void setLabelHeader(const QString& text) { m_labelHeader = text; }

    // Rows for every whole 16 bytes of `image`, every cell from its bytes; earlier cell texts
    // are dropped.
    void rebuild(const QByteArray& image);
    // Only the header row is left.
    void clear();
    // Takes the bytes of [first, first + count) from `image`, an image of the size of the last
    // rebuild, as if the rows holding them had been rebuilt: their cells and text cells show
    // the new bytes, rewritten texts and marks in those rows are dropped, and only those rows
    // are announced as changed. An image of another size rebuilds everything.
    void refreshRange(const QByteArray& image, qint64 first, qint64 count);

    [[nodiscard]] int dataRowCount() const { return m_rows; }
    // Rows including the header.
    [[nodiscard]] int gridRowCount() const { return m_rows + 1; }

    // Empty outside the grid.
    [[nodiscard]] QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);

    [[nodiscard]] QModelIndex indexOfCell(int row, int column) const;

    // Marks the byte cells whose address bit is set (bit n: address n), in place of the marks
    // before; an empty array removes them all.
    void setMarks(const QBitArray& addresses);
    [[nodiscard]] bool isMarked(int row, int column) const;
    [[nodiscard]] qint64 markCount() const { return m_marks.count(true); }

    // The bytes of the matches of a find (bit n: address n), in place of the ones before.
    void setFoundMarks(const QBitArray& addresses);
    [[nodiscard]] bool isFound(int row, int column) const;
    [[nodiscard]] qint64 foundCount() const { return m_found.count(true); }

    // Words in the byte columns in place of bytes.
    void setWordView(bool words);
    [[nodiscard]] bool wordView() const { return m_wordView; }
    // The size of the image at the last rebuild.
    [[nodiscard]] qint64 imageSize() const { return m_image.size(); }

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    [[nodiscard]] static quint64 key(int row, int column)
    {
        return (quint64(quint32(row)) << 8) | quint32(column);
    }
    [[nodiscard]] QString rebuildText(int row, int column) const;
    void announceChange(int row, int column);
    void announceAllBytes(const QList<int>& roles);
    // Whether `marks` holds the byte of a cell, or either byte of a word cell.
    [[nodiscard]] bool cellMarked(const QBitArray& marks, int row, int column) const;

    QByteArray m_image;  // the image at the last rebuild
    int m_rows = 0;
    QHash<quint64, QString> m_written;  // cells rewritten since the last rebuild
    QBitArray m_marks;                  // by address
    QBitArray m_found;                  // by address
    bool m_wordView = false;
    QString m_labelHeader;
};
