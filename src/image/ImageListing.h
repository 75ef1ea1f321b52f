#pragma once

#include <QByteArray>
#include <QString>

class StatusPanels;

// The text listing "temp.txt" that every full grid rebuild writes: one line per grid row, the
// row label, a TAB, each byte cell and a TAB, the 16 fill-rule characters, CR LF. Shift_JIS:
// labels and byte cells are ASCII, each character is the single byte it shows.
namespace ImageListing {

// The line of the row starting at `firstAddress` (a multiple of 16 inside the image).
[[nodiscard]] QByteArray line(const QByteArray& image, qint64 firstAddress);

// The rebuild's progress after the row ending at `lastAddress`: the nearest whole number to
// lastAddress * 100 / (size - 1), a half going to the even neighbour.
[[nodiscard]] int percent(qint64 lastAddress, qint64 size);

// Builds the listing row by row, showing the percentage in status panel 3 ("6%") whenever it
// changes, and writes it to `path`, replacing the old file. False when the file could not be
// written, or is not a regular file (a pipe would keep the write waiting); the progress is shown
// either way.
[[nodiscard]] bool write(const QByteArray& image, const QString& path, StatusPanels& panels);

}  // namespace ImageListing
