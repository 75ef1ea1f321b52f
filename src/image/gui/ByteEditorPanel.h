#pragma once

#include "image/gui/ImageControls.h"

#include <QObject>

#include <cstdint>
#include <optional>

class HexGrid;
class QKeyEvent;
class QLabel;
class QLineEdit;
class StatusPanels;
struct ProgramState;

// Frame1, the byte editor: the byte of the grid's current cell in four linked forms (hex,
// decimal, character, eight bits). Every change in one form goes into the image at once and
// is shown in the other forms, the grid's byte cell, the row's text cell and the checksum.
//
// The editor keeps no address of its own: it follows every move of the current cell, so the
// byte shown is always the byte an edit changes. Its edits go through the program's
// ImageEditor, typing in one byte being one undo step. Where the current cell is no byte cell (the
// text column, or no cell at all) an edit changes only the box typed in.
class ByteEditorPanel : public QObject {
    Q_OBJECT
public:
    ByteEditorPanel(const ByteEditorControls& controls, ProgramState& state, HexGrid& grid,
                    StatusPanels& panels);

    // Loads the current cell into the boxes, shows its address in panel 3 and puts the focus
    // on the selected hex box, ready to type over. A current cell in the text column moves to
    // the row's last byte first.
    void MSFGrid1_Click();
    // The same without moving the focus: for keyboard moves of the current cell.
    void followCurrentCell();

    // Updating: while raised, the editor's handlers do nothing (the data-file load at start-up
    // holds it while the first device is selected).
    [[nodiscard]] bool updating() const { return m_updating; }
    void setUpdating(bool updating) { m_updating = updating; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Source { Hex, Decimal, Character, Bits };

    void loadCurrentCell();
    void Text_modify_hex_Change();
    void Text_modify_dec_Change();
    void Text_modify_asc_Change();
    void ChkBin_Click(int index);
    // Up, Down, PageUp, PageDown, Ctrl+Home and Ctrl+End in any box, and Enter in the hex box,
    // move the grid's current cell; the editor follows and the box's text is selected, ready
    // to be typed over. With Shift they extend the grid's selection instead. True when the key
    // was such a move.
    bool moveByKey(QLineEdit* box, const QKeyEvent* event);
    // Text_modify_hex_KeyPress: true when the key has been dealt with here.
    bool Text_modify_hex_KeyPress(QKeyEvent* event);

    // The image address an edit goes to, when the current cell is a byte cell of the image.
    [[nodiscard]] std::optional<qint64> editAddress() const;
    // Stores `value` (if any) and shows the byte now at `address` everywhere except `source`.
    void storeAndRefresh(qint64 address, std::optional<std::uint8_t> value, Source source);
    void showBits(std::uint8_t value);
    void clearBoxes();

    ByteEditorControls m_controls;
    ProgramState& m_state;
    HexGrid& m_grid;
    StatusPanels& m_panels;
    bool m_updating = false;
};
