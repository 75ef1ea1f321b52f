#pragma once

#include "image/HexGridModel.h"
#include "image/gui/HexGridDelegate.h"

#include <QObject>

#include <optional>

class QAbstractButton;
class QTableView;

// MSFGrid1: the hex grid on the main window's QTableView. Owns the model, lays out the columns
// and keeps the current cell in grid terms (row 0 header, column 0 labels, 1..16 bytes,
// 17 text); "row 0, column 0" stands for no current cell.
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

    [[nodiscard]] QTableView* view() const { return m_view; }
    [[nodiscard]] const HexGridModel& model() const { return m_model; }

signals:
    // A mouse click on a cell (MSFGrid1_Click).
    void clicked();
    // The current cell moved, by mouse, keyboard or program.
    void currentCellChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paintCorner();
    [[nodiscard]] int fittingWidth(double twips, const QString& widestText) const;

    QTableView* m_view = nullptr;
    QAbstractButton* m_corner = nullptr;
    HexGridModel m_model;
    HexGridDelegate m_delegate;
};
