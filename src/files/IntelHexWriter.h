#pragma once

#include <QByteArray>

// Intel HEX text of a memory image, in the form the board's users and other programs rely on:
// 16-byte data records (":10" AAAA "00" 16 x DD CC) from address 0 without gaps, upper-case
// digits, CR LF after every line, and the end line ":00000001FF".
//
// An image of up to 64 KiB, which 16-bit record addresses reach on their own, has no address
// record, so such files stay exactly as other programs have always read them. A larger image
// has an extended linear address record (":02000004" BBBB CC) before each 64 KiB bank, bank 0
// included, and the records of a bank count their addresses from the bank's start.

// The largest image written without address records.
inline constexpr qint64 kIntelHexBankSize = 65536;

// The file's whole text for `image`: a record for every 16 bytes, the last one shorter when the
// size is not a multiple of 16 (and the bank records), then the end line.
[[nodiscard]] QByteArray intelHexText(const QByteArray& image);

// Appends the record checksum to `record`, a record under construction beginning with ":":
// the two's complement of the low 8 bits of the sum of the two-digit groups after the colon,
// as two upper-case digits. Digits are read like HexValue reads them (lower case is accepted,
// any other character counts as 0; a last lone digit counts as a group of its own).
void AppendRecordChecksum(QByteArray& record);
