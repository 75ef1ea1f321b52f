#pragma once

#include "editing/AddressRange.h"
#include "editing/Selection.h"
#include "image/HexGridModel.h"
#include "image/gui/HexGridDelegate.h"

#include <QObject>

#include <optional>

class QAbstractButton;
class QKeyEvent;
class QTableView;

// MSFGrid1: the hex grid on the main window's QTableView. Owns the model, lays out the columns
// and keeps the current cell in grid terms (row 0 header, column 0 labels, 1..16 bytes,
// 17 text); "row 0, column 0" stands for no current cell.
//
// It also keeps the selection, a run of addresses whose cursor is the current cell: a mouse
// drag, Shift+click and the Shift keys (Selection::moveForKey) extend it from its anchor, any
// other move of the current cell collapses it onto that cell. In the word view a selection
// takes in whole words.
class HexGrid : public QObject {
    Q_OBJECT
public:
    explicit HexGrid(QTableView* view);

    // Rows for `image` (see HexGridModel::rebuild); the current cell becomes row 0, column 0.
    void rebuild(const QByteArray& image);
    // Column widths and alignments: labels 700 twips, bytes 450, text 2000, each widened
    // where the font would not fit.
    void FormatGrid();

    [[nodiscard]] int rows() const { return m_model.gridRowCount(); }
    [[nodiscard]] int currentRow() const;
    [[nodiscard]] int currentColumn() const;
    // A cell outside the data cells clears the current cell.
    void setCurrentCell(int row, int column);
    // Marks the current cell as the selected one again (after a mouse press moved it).
    void reselectCurrentCell();

    // Whole data rows that the grid shows at once: the step of PageUp and PageDown.
    [[nodiscard]] int visibleRows() const;

    // The image address of the current cell when it is a byte cell.
    [[nodiscard]] std::optional<qint64> currentAddress() const;

    [[nodiscard]] QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);
    // See HexGridModel::setMarks.
    void setMarks(const QBitArray& addresses) { m_model.setMarks(addresses); }
    [[nodiscard]] bool isMarked(int row, int column) const { return m_model.isMarked(row, column); }
    // See HexGridModel::setFoundMarks.
    void setFoundMarks(const QBitArray& addresses) { m_model.setFoundMarks(addresses); }
    // See HexGridModel::refreshRange.
    void refreshRange(const QByteArray& image, AddressRange range);

    // The selected addresses; the current cell's byte (or word) when nothing more is selected.
    [[nodiscard]] AddressRange selectedRange() const;
    // More than the current cell is selected.
    [[nodiscard]] bool selectsMore() const;
    // Selects from `anchor` to `cursor` and makes the cursor's byte the current cell.
    void selectRange(qint64 anchor, qint64 cursor);
    // Moves the selection's cursor by `move` (the Shift keys), the anchor staying.
    void extendSelection(Selection::Move move);
    void selectAll();

    // 16-bit words in the byte columns (a Microwire part), or bytes.
    void setWordView(bool words);
    [[nodiscard]] bool wordView() const { return m_model.wordView(); }

    [[nodiscard]] QTableView* view() const { return m_view; }
    [[nodiscard]] const HexGridModel& model() const { return m_model; }

signals:
    // A mouse click on a cell (MSFGrid1_Click).
    void clicked();
    // The current cell moved, by mouse, keyboard or program.
    void currentCellChanged();
    // The selection changed; sent after currentCellChanged when both change.
    void selectionChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paintCorner();
    [[nodiscard]] int fittingWidth(double twips, const QString& widestText) const;
    void followCurrentCell();
    // The address of the byte under `position` of the viewport: a byte or word cell, or the
    // character of a text cell; nothing outside the data cells.
    [[nodiscard]] std::optional<qint64> addressAt(const QPoint& position) const;
    bool filterMouse(QEvent* event);
    bool filterKey(const QKeyEvent* key);
    void showSelection();
    // Makes the selection's cursor the current cell without collapsing the selection.
    void moveCurrentToCursor();

    QTableView* m_view = nullptr;
    QAbstractButton* m_corner = nullptr;
    HexGridModel m_model;
    HexGridDelegate m_delegate;
    Selection m_selection;
    bool m_dragging = false;   // the left button went down on a data cell and is still down
    bool m_extending = false;  // the current cell follows the selection's cursor
};
