#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

#include <cstdint>

// The texts the hex grid and the byte editor show for the image's bytes. Three character
// rules exist side by side, each with its own users:
//   fill rule   - the grid's text cells after a full rebuild, and the listing file
//   click rule  - the character box when a grid cell is loaded into the editor
//   editor rule - the character box and the row's text cell after an edit in the editor
// A byte without a character of its own is shown as the substitute "･" (U+FF65, byte 0xA5 of
// Shift_JIS). Bytes 0x7F and 0xA0 pass some rules but have no glyph in Shift_JIS: they are
// shown as a blank.
namespace GridTexts {

inline constexpr QChar kSubstitute{0xFF65};
inline constexpr std::uint8_t kSubstituteByte = 0xA5;

// "0x" and the byte in two upper-case hexadecimal digits: "0x0A".
[[nodiscard]] QString byteCellText(std::uint8_t value);

// "0x" and a 16-bit word in four upper-case hexadecimal digits: "0x0A1B".
[[nodiscard]] QString wordCellText(std::uint16_t value);

// "0x" and the row's first address in five upper-case hexadecimal digits: "0x1FFF0".
[[nodiscard]] QString rowLabelText(qint64 firstAddress);

// The byte's character as a single Shift_JIS byte: ASCII for 0x20..0x7E, the half-width
// katakana U+FF61..U+FF9F for 0xA1..0xDF, a blank for 0x7F and 0xA0, else the substitute.
[[nodiscard]] QChar ownCharacter(std::uint8_t value);

[[nodiscard]] QChar fillRuleCharacter(std::uint8_t value);
[[nodiscard]] QChar clickRuleCharacter(std::uint8_t value);
[[nodiscard]] QChar editorRuleCharacter(std::uint8_t value);

// The byte the listing file holds for a fill-rule character: the byte itself, or 0xA5 where
// the substitute is shown.
[[nodiscard]] std::uint8_t fillRuleByte(std::uint8_t value);

// The text cell of the row starting at `firstAddress`: up to 16 characters, fewer when the
// image ends inside the row.
[[nodiscard]] QString fillRuleRowText(const QByteArray& image, qint64 firstAddress);
[[nodiscard]] QString editorRuleRowText(const QByteArray& image, qint64 firstAddress);

}  // namespace GridTexts
