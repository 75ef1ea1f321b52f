#include "image/gui/ByteEditorPanel.h"

#include "base/StatusPanels.h"
#include "image/ByteEditorRules.h"
#include "image/GridAddress.h"
#include "image/GridNavigation.h"
#include "image/GridTexts.h"
#include "image/gui/HexGrid.h"
#include "session/ProgramState.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>

using namespace ByteEditorRules;

ByteEditorPanel::ByteEditorPanel(const ByteEditorControls& controls, ProgramState& state,
                                 HexGrid& grid, StatusPanels& panels)
    : m_controls(controls), m_state(state), m_grid(grid), m_panels(panels)
{
    connect(m_controls.Text_modify_hex, &QLineEdit::textChanged, this,
            &ByteEditorPanel::Text_modify_hex_Change);
    connect(m_controls.Text_modify_dec, &QLineEdit::textChanged, this,
            &ByteEditorPanel::Text_modify_dec_Change);
    connect(m_controls.Text_modify_asc, &QLineEdit::textChanged, this,
            &ByteEditorPanel::Text_modify_asc_Change);
    for (int i = 0; i < 8; ++i) {
        connect(m_controls.ChkBin[i], &QCheckBox::toggled, this, [this, i] { ChkBin_Click(i); });
    }
    for (QLineEdit* box :
         {m_controls.Text_modify_hex, m_controls.Text_modify_dec, m_controls.Text_modify_asc}) {
        box->installEventFilter(this);
    }
    // An input method would hand over composed text past the key filter.
    m_controls.Text_modify_hex->setAttribute(Qt::WA_InputMethodEnabled, false);
}

void ByteEditorPanel::MSFGrid1_Click()
{
    loadCurrentCell();
    m_grid.reselectCurrentCell();
    m_controls.Text_modify_hex->setFocus();
    m_controls.Text_modify_hex->selectAll();
}

void ByteEditorPanel::followCurrentCell() { loadCurrentCell(); }

void ByteEditorPanel::loadCurrentCell()
{
    if (m_grid.currentColumn() == GridAddress::kTextColumn) {
        m_grid.setCurrentCell(m_grid.currentRow(), GridAddress::kLastByteColumn);
    }
    if (m_updating) return;
    m_updating = true;
    const std::optional<qint64> address = editAddress();
    if (address) {
        const std::uint8_t b = m_state.image.at(*address);
        m_controls.Text_modify_dec->setText(decimalBoxText(b));
        m_controls.Text_modify_hex->setText(hexBoxText(b));
        m_controls.Text_modify_asc->setText(GridTexts::clickRuleCharacter(b));
        showBits(b);
    } else {
        clearBoxes();
    }
    m_updating = false;
    // A selection of more bytes shows its own summary in panel 3.
    if (address && !m_grid.selectsMore()) {
        m_panels.setText(3, QStringLiteral("ADDRESS:") + QString::number(*address));
    }
}

std::optional<qint64> ByteEditorPanel::editAddress() const
{
    const std::optional<qint64> address = m_grid.currentAddress();
    if (!address || !m_state.image.contains(*address)) return std::nullopt;
    return address;
}

void ByteEditorPanel::showBits(std::uint8_t value)
{
    for (int i = 0; i < 8; ++i) m_controls.ChkBin[i]->setChecked((value >> i) & 1);
}

void ByteEditorPanel::clearBoxes()
{
    m_controls.Text_modify_hex->clear();
    m_controls.Text_modify_dec->clear();
    m_controls.Text_modify_asc->clear();
    for (QCheckBox* box : m_controls.ChkBin) box->setChecked(false);
}

void ByteEditorPanel::Text_modify_hex_Change()
{
    if (m_updating) return;
    const std::optional<qint64> address = editAddress();
    if (!address) return;
    m_updating = true;
    storeAndRefresh(*address, hexBoxByte(m_controls.Text_modify_hex->text()), Source::Hex);
}

void ByteEditorPanel::Text_modify_dec_Change()
{
    if (m_updating) return;
    const std::optional<qint64> address = editAddress();
    if (!address) return;
    m_updating = true;
    const DecimalBoxEntry entry = decimalBoxEntry(m_controls.Text_modify_dec->text());
    if (entry.showMaximum) m_controls.Text_modify_dec->setText(QStringLiteral("255"));
    storeAndRefresh(*address, entry.byte, Source::Decimal);
}

void ByteEditorPanel::Text_modify_asc_Change()
{
    if (m_updating) return;
    const std::optional<qint64> address = editAddress();
    if (!address) return;
    m_updating = true;
    storeAndRefresh(*address, characterBoxByte(m_controls.Text_modify_asc->text()),
                    Source::Character);
}

void ByteEditorPanel::ChkBin_Click(int /*index*/)
{
    if (m_updating) return;
    const std::optional<qint64> address = editAddress();
    if (!address) return;
    m_updating = true;
    int value = 0;
    for (int i = 0; i < 8; ++i) {
        if (m_controls.ChkBin[i]->isChecked()) value |= 1 << i;
    }
    storeAndRefresh(*address, static_cast<std::uint8_t>(value), Source::Bits);
}

void ByteEditorPanel::storeAndRefresh(qint64 address, std::optional<std::uint8_t> value,
                                      Source source)
{
    // The editor repaints the row and takes the checksum again; the cells below are the
    // byte editor's own texts.
    if (value) m_state.editor.setByte(address, *value);
    const std::uint8_t b = m_state.image.at(address);

    const int row = GridAddress::rowOf(address);
    m_grid.setCellText(row, GridAddress::columnOf(address), GridTexts::byteCellText(b));
    if (source != Source::Hex) m_controls.Text_modify_hex->setText(hexBoxText(b));
    if (source != Source::Decimal) m_controls.Text_modify_dec->setText(decimalBoxText(b));
    if (source != Source::Character) {
        m_controls.Text_modify_asc->setText(GridTexts::editorRuleCharacter(b));
    }
    if (source != Source::Bits) showBits(b);
    m_grid.setCellText(
        row, GridAddress::kTextColumn,
        GridTexts::editorRuleRowText(m_state.image.bytes(), GridAddress::firstAddressOfRow(row)));
    m_updating = false;
}

namespace {

// The Edit menu's undo, copy and paste act on the image, also while the focus is in a box: the
// box's own undo and paste of its few characters would go round the image's history. Ctrl+A
// stays the box's, selecting its text to type over.
bool isEditMenuKey(const QKeyEvent* key)
{
    static const QList<QKeySequence> keys{QKeySequence(Qt::CTRL | Qt::Key_Z),
                                          QKeySequence(Qt::CTRL | Qt::Key_Y),
                                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                          QKeySequence(Qt::CTRL | Qt::Key_C),
                                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
                                          QKeySequence(Qt::CTRL | Qt::Key_V)};
    return keys.contains(QKeySequence(key->keyCombination()));
}

}  // namespace

bool ByteEditorPanel::eventFilter(QObject* watched, QEvent* event)
{
    // Left unaccepted, the key goes to the window's shortcuts instead of the box.
    if (event->type() == QEvent::ShortcutOverride) {
        return isEditMenuKey(static_cast<QKeyEvent*>(event));
    }
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && moveByKey(box, key)) return true;
    if (watched == m_controls.Text_modify_hex) return Text_modify_hex_KeyPress(key);
    return QObject::eventFilter(watched, event);
}

bool ByteEditorPanel::moveByKey(QLineEdit* box, const QKeyEvent* event)
{
    // Shift with the keys that leave the box's text alone extends the grid's selection.
    if (const auto extension = Selection::moveForKey(event->key(), event->modifiers());
        extension && *extension != Selection::Move::Left && *extension != Selection::Move::Right &&
        *extension != Selection::Move::RowStart && *extension != Selection::Move::RowEnd) {
        if (!m_updating) m_grid.extendSelection(*extension);
        box->selectAll();
        return true;
    }
    const std::optional<GridNavigation::Move> move =
        GridNavigation::moveForKey(event->key(), event->modifiers());
    if (!move) return false;
    // Enter steps on only from the hex box, where a run of bytes is typed.
    if (*move == GridNavigation::Move::Next && box != m_controls.Text_modify_hex) return false;
    if (m_updating) return true;

    qint64 from = m_grid.currentAddress().value_or(0);
    // In the word view Enter goes on to the next word.
    if (*move == GridNavigation::Move::Next && m_grid.wordView()) ++from;
    const std::optional<qint64> to =
        GridNavigation::target(from, *move, m_state.image.size(), m_grid.visibleRows());
    if (!to) return true;
    // The move runs the grid's current-cell notification, which loads the editor.
    m_grid.setCurrentCell(GridAddress::rowOf(*to), GridAddress::columnOf(*to));
    box->selectAll();
    return true;
}

bool ByteEditorPanel::Text_modify_hex_KeyPress(QKeyEvent* event)
{
    // Only character keys are filtered; moving, deleting and leaving the box stay as they are.
    const QString text = event->text();
    if (m_updating || text.isEmpty()) return false;
    switch (event->key()) {
        case Qt::Key_Delete:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return false;
        default:
            break;
    }
    const int code = text.size() == 1 ? text.at(0).unicode() : 0;
    m_updating = true;
    const int accepted = hexKeyPress(code);
    m_updating = false;
    if (accepted == 0) return true;
    if (accepted == code) return false;
    // A lower-case digit goes in upper-cased: the box gets the key with the new character.
    QKeyEvent upper(QEvent::KeyPress, event->key(), Qt::NoModifier,
                    QString(QChar(static_cast<char16_t>(accepted))), event->isAutoRepeat());
    QCoreApplication::sendEvent(m_controls.Text_modify_hex, &upper);
    return true;
}
