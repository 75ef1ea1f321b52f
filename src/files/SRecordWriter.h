#pragma once

#include <QByteArray>

// Motorola S-record text of a memory image: the header "S0030000FC" (no header text), data
// records of 16 bytes from address 0 without gaps, S1 (16-bit addresses) for images up to
// 64 KiB and S2 (24-bit) above, the record count in an S5 record (S6 above 65,535 records), and
// the end record S9 (S8 after S2 records) with start address 0. Upper-case digits, CR LF after
// every line.
[[nodiscard]] QByteArray sRecordText(const QByteArray& image);
