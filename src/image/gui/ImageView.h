#pragma once

#include "editing/ImageChangeObserver.h"
#include "image/gui/ByteEditorPanel.h"
#include "image/gui/HexGrid.h"
#include "image/gui/ImageControls.h"
#include "session/AppServices.h"

#include <QObject>

#include <optional>

class BusyIndicator;
class StatusPanels;

// The memory image on the main window: the hex grid MSFGrid1 with its selection, its listing
// file, the checksum label, the byte editor Frame1 and the buffer clear command.
//
// Every change of the image goes through the program's ImageEditor, whose changes the view
// hears of: it repaints the rows that changed, takes the checksum label and its CRC-32 and
// SHA-256 again, and reloads the byte editor. Other subsystems still call ShowImage() after
// replacing the whole image (a new listing file, the first byte current).
class ImageView : public QObject, public ImageChangeObserver {
    Q_OBJECT
public:
    ImageView(const ImageControls& controls, const AppServices& services, StatusPanels& panels,
              BusyIndicator& busy);

    // Re-creates the image blank (0xFF) in the selected device's size (0 without a device) and
    // rebuilds everything that shows it.
    void ClearImage();
    // Rebuilds the grid, the listing file and the checksum label from the image, makes the
    // first byte the current cell and reloads the editor. A listing that cannot be written
    // stays as it was; the rest is rebuilt regardless.
    void ShowImage();
    // Loads the grid's current cell into the byte editor and gives it the focus.
    void MSFGrid1_Click();

    // Edit > Go to address (Ctrl+G): asks for a hexadecimal address and makes its byte the
    // current cell, loaded into the editor.
    void mnuGoTo_Click();

    // While an access runs the grid, the byte editor and buffer clear are locked; when it has
    // ended the keyboard focus goes back to the hexadecimal box.
    void setAccessRunning(bool running);

    void Command1_Click();
    void mnuBufferClear_Click();
    // Edit > copy the checksums: the label's text, the CRC-32 and the SHA-256, one a line.
    void mnuCopyChecksums_Click();
    // The word view is offered for a Microwire part only; another part shows bytes again.
    void deviceSelected();

    void imageChanged(const ImageChange& change) override;

    // The grid's selection (HexGrid).
    [[nodiscard]] AddressRange selectedRange() const { return m_grid.selectedRange(); }
    [[nodiscard]] bool selectsMore() const { return m_grid.selectsMore(); }
    void selectRange(qint64 anchor, qint64 cursor) { m_grid.selectRange(anchor, cursor); }
    void selectAll() { m_grid.selectAll(); }
    // The matches of a find, marked apart from the differences (HexGridModel::setFoundMarks).
    void markFound(const QBitArray& addresses) { m_grid.setFoundMarks(addresses); }
    [[nodiscard]] bool isFound(int row, int column) const
    {
        return m_grid.model().isFound(row, column);
    }
    [[nodiscard]] bool wordView() const { return m_grid.wordView(); }

    // The grid's current cell in grid terms; row 0, column 0 when there is none.
    [[nodiscard]] int currentRow() const { return m_grid.currentRow(); }
    [[nodiscard]] int currentColumn() const { return m_grid.currentColumn(); }
    void setCurrentCell(int row, int column) { m_grid.setCurrentCell(row, column); }
    // The image address of the current cell; nothing when it is not a byte cell of the image.
    [[nodiscard]] std::optional<qint64> currentAddress() const;
    // Rewrites the current cell's text only ("0x41" after a Byte Read); the row's text cell
    // keeps its text until the next rebuild.
    void setCurrentCellText(const QString& text);
    [[nodiscard]] QString cellText(int row, int column) const
    {
        return m_grid.cellText(row, column);
    }
    [[nodiscard]] int gridRows() const { return m_grid.rows(); }

    // Marks the byte cells whose address bit is set (a comparison's differences) in place of
    // the earlier marks; a rebuild or an edit of a cell removes its mark.
    void markCells(const QBitArray& addresses) { m_grid.setMarks(addresses); }
    [[nodiscard]] bool isMarked(int row, int column) const { return m_grid.isMarked(row, column); }
    [[nodiscard]] qint64 markCount() const { return m_grid.model().markCount(); }
    // Makes the byte cell of `address` the current cell, scrolled into view.
    void showAddress(qint64 address);

    // Updating, the byte editor's guard (held by the data-file load at start-up).
    [[nodiscard]] bool updating() const { return m_editor.updating(); }
    void setUpdating(bool updating) { m_editor.setUpdating(updating); }

    // Whether the last rebuild could write the listing file.
    [[nodiscard]] bool listingWritten() const { return m_listingWritten; }

signals:
    // ShowImage has rebuilt the grid from the image.
    void imageShown();
    // The image changed through the editor and the view has taken the change.
    void imageEdited(const ImageChange& change);
    // The grid's selection changed.
    void selectionChanged();

private:
    void followCurrentCell();
    // LblCheckSUM: the 16-bit sum as its text, CRC-32 and SHA-256 in its tool tip.
    void showChecksums();
    void mnuView16_Click(bool words);

    ImageControls m_controls;
    AppServices m_services;
    StatusPanels& m_panels;
    BusyIndicator& m_busy;
    HexGrid m_grid;
    ByteEditorPanel m_editor;
    bool m_rebuilding = false;
    bool m_listingWritten = false;
};
