#pragma once

#include "files/ImageReadSummary.h"
#include "files/LeadingByteOrderMark.h"

#include <QByteArrayView>

#include <array>
#include <vector>

class MemoryImage;

// Reads Intel HEX text into a memory image, in pieces of any size, so a file can be fed as it
// is read.
//
// A UTF-8 byte-order mark at the start is skipped. The text is then split into fields the way
// comma-separated text is read: a field ends at a comma or a line end (CR LF, LF or CR), blanks
// and tabs before a field are skipped, and a field that begins with a double quote runs to the
// next double quote without the quotes. A field that begins with ":" is a record; any other
// field is counted as an ignored line (once per line, with the first one's line number), except
// empty fields and the end-of-file mark Ctrl-Z. Every number in a record is read like HexValue
// reads it: lower case is accepted, a character that is not a hexadecimal digit counts as 0, and
// digits missing because the line is too short count as nothing (a wholly missing data byte is
// 0x00).
//
// Data records (type 00) store their bytes at base + address + i, last write winning. The base
// is 0 until an extended segment (02, base = value x 16) or extended linear (04, base =
// value x 65536) address record sets it; every other record type is skipped. Bytes addressed
// outside the image are left out and counted; records with a wrong or missing checksum are
// loaded all the same and counted. An image byte written by more than one record is counted
// with the lowest such address, so that a file whose records contradict each other is told
// apart. The end record (01) ends the data: records after it are counted, not loaded.
class IntelHexReader {
public:
    explicit IntelHexReader(MemoryImage& image);

    void feed(QByteArrayView text);
    // Takes the last field when the text does not end with a line end.
    void finish();

    [[nodiscard]] const ImageReadSummary& summary() const { return m_summary; }

private:
    enum class State { BeforeField, Plain, Quoted, AfterQuote };

    // A record holds at most 255 data bytes: ":" + 8 digits + 510 digits + 2 checksum digits.
    static constexpr int kLongestRecord = 521;

    void parse(QByteArrayView text);
    void append(const char* characters, qsizetype count);
    // Counts the line ends inside a quoted field.
    void passText(const char* characters, qsizetype count);
    void passDelimiter(char delimiter);
    void endField();
    void takeRecord();
    // HexValue of the field's characters position .. position + digits - 1 (0-based), as far
    // as the field reaches.
    [[nodiscard]] int value(int position, int digits) const;
    [[nodiscard]] bool isIntact(int dataBytes) const;
    void store(qint64 address, int byte);

    MemoryImage& m_image;
    ImageReadSummary m_summary;
    LeadingByteOrderMark m_byteOrderMark;
    State m_state = State::BeforeField;
    std::array<char, kLongestRecord> m_field{};
    int m_fieldLength = 0;   // characters kept; what lies beyond a record's end is never read
    qint64 m_fieldLine = 1;  // the line the field began on
    qint64 m_line = 1;       // the line being read
    bool m_afterCarriageReturn = false;  // a LF now ends no further line
    qint64 m_base = 0;
    bool m_ended = false;         // the end record has been read
    std::vector<bool> m_written;  // per image byte: a record has stored it
};

// Reads a whole text at once.
ImageReadSummary readIntelHex(QByteArrayView text, MemoryImage& image);
