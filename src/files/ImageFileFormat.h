#pragma once

#include <QByteArrayView>
#include <QString>

// The kinds of image file the program reads and writes.
enum class ImageFileFormat {
    Unknown,   // not decided: a load goes by the extension, then by the content
    IntelHex,  // Intel HEX text
    SRecord,   // Motorola S-records
    Binary,    // the image's bytes as they are, from address 0
};

// The format a file name's extension stands for, in any letter case: .hex, .ihx, .ihex Intel
// HEX; .s19, .s28, .s37, .srec, .mot S-records; .bin binary. Any other extension: Unknown.
[[nodiscard]] ImageFileFormat formatForPath(const QString& path);

// How much of a file's beginning detectImageFileFormat looks at.
inline constexpr qsizetype kFormatDetectionBytes = 1024;

// The format of a file that begins with `head`: after a UTF-8 byte-order mark, blanks and empty
// lines, a first line that starts with ":" is Intel HEX and one that starts with "S" and a digit
// is S-records, as long as that line is printable text; anything else is binary.
[[nodiscard]] ImageFileFormat detectImageFileFormat(QByteArrayView head);
