#pragma once

#include "files/ImageReadSummary.h"
#include "files/LeadingByteOrderMark.h"

#include <QByteArrayView>

#include <array>

class MemoryImage;

// Reads Motorola S-record text into a memory image, in pieces of any size.
//
// Lines end with CR LF, LF or CR; a UTF-8 byte-order mark at the start, blanks around a line,
// empty lines and a Ctrl-Z line are passed over. A record is "S" (or "s"), a type digit and
// hexadecimal digit pairs in either case: the count of the bytes that follow, the address (2
// bytes for S0, S1, S5, S9; 3 for S2, S6, S8; 4 for S3, S7), the data and the checksum, the
// ones' complement of the low byte of the sum of the count, address and data bytes.
//
// S1, S2 and S3 store their data at the record's address, last write winning; bytes outside the
// image are left out and counted. A record whose checksum does not match is loaded all the same
// and counted. The S0 header, the S5/S6 record count and the S7/S8/S9 end records are accepted
// and change nothing; reading goes on after an end record. A line that is not a well-formed
// record (another first character, S4, a character that is not a digit, a count that does not
// match the line's length) is left out and counted as an ignored line.
class SRecordReader {
public:
    explicit SRecordReader(MemoryImage& image) : m_image(image) {}

    void feed(QByteArrayView text);
    // Takes the last line when the text does not end with a line end.
    void finish();

    [[nodiscard]] const ImageReadSummary& summary() const { return m_summary; }

private:
    // "S", the type and 256 digit pairs: the count and the 255 bytes it can count.
    static constexpr int kLongestRecord = 2 + 2 * 256;

    void parse(QByteArrayView text);
    // Keeps what of a line's characters fits into a record.
    void append(const char* characters, qsizetype count);
    void endLine();
    void takeRecord();

    MemoryImage& m_image;
    ImageReadSummary m_summary;
    LeadingByteOrderMark m_byteOrderMark;
    std::array<char, kLongestRecord> m_text{};
    int m_length = 0;        // characters kept, the blanks before the record left out
    bool m_tooLong = false;  // more than a record can hold stood on the line
    qint64 m_line = 1;       // the line being read
    bool m_afterCarriageReturn = false;
};

// Reads a whole text at once.
ImageReadSummary readSRecords(QByteArrayView text, MemoryImage& image);
