#include "files/IntelHexReader.h"

#include "base/HexDigits.h"
#include "image/MemoryImage.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// Ctrl-Z, which old text editors put at the end of a file.
constexpr char kEndOfFileMark = '\x1A';

bool isDelimiter(char c) { return c == ',' || c == '\r' || c == '\n'; }

bool isHexDigit(char c) { return hexDigitValue(c) >= 0; }

int digitValue(char c) { return std::max<int>(0, hexDigitValue(c)); }

}  // namespace

IntelHexReader::IntelHexReader(MemoryImage& image)
    : m_image(image), m_written(static_cast<std::size_t>(image.size()), false)
{
}

void IntelHexReader::feed(QByteArrayView text)
{
    const LeadingByteOrderMark::Pieces pieces = m_byteOrderMark.pass(text);
    parse(pieces.heldBack);
    parse(pieces.rest);
}

void IntelHexReader::finish()
{
    parse(m_byteOrderMark.finish());
    if (m_state != State::BeforeField) endField();
}

void IntelHexReader::parse(QByteArrayView text)
{
    const char* next = text.data();
    const char* const end = next + text.size();
    while (next < end) {
        switch (m_state) {
            case State::BeforeField: {
                const char c = *next++;
                if (c == ' ' || c == '\t') {
                    m_afterCarriageReturn = false;
                    break;
                }
                if (isDelimiter(c)) {
                    passDelimiter(c);
                    endField();
                    break;
                }
                m_afterCarriageReturn = false;
                m_fieldLine = m_line;
                if (c == '"') {
                    m_state = State::Quoted;
                } else {
                    append(&c, 1);
                    m_state = State::Plain;
                }
                break;
            }
            case State::Plain: {
                const char* const start = next;
                while (next < end && !isDelimiter(*next)) ++next;
                append(start, next - start);
                if (next > start) m_afterCarriageReturn = false;
                if (next < end) {
                    passDelimiter(*next++);
                    endField();
                }
                break;
            }
            case State::Quoted: {
                const char* const start = next;
                while (next < end && *next != '"') ++next;
                append(start, next - start);
                passText(start, next - start);
                if (next < end) {
                    m_afterCarriageReturn = false;
                    m_state = State::AfterQuote;
                    ++next;
                }
                break;
            }
            case State::AfterQuote: {
                // What stands between the closing quote and the next delimiter is dropped.
                const char* const start = next;
                while (next < end && !isDelimiter(*next)) ++next;
                if (next > start) m_afterCarriageReturn = false;
                if (next < end) {
                    passDelimiter(*next++);
                    endField();
                }
                break;
            }
        }
    }
}

void IntelHexReader::append(const char* characters, qsizetype count)
{
    const qsizetype kept = std::min<qsizetype>(count, kLongestRecord - m_fieldLength);
    if (kept <= 0) return;
    std::memcpy(m_field.data() + m_fieldLength, characters, static_cast<std::size_t>(kept));
    m_fieldLength += static_cast<int>(kept);
}

void IntelHexReader::passText(const char* characters, qsizetype count)
{
    for (qsizetype i = 0; i < count; ++i) {
        const char c = characters[i];
        if (c == '\r' || c == '\n') {
            passDelimiter(c);
        } else {
            m_afterCarriageReturn = false;
        }
    }
}

void IntelHexReader::passDelimiter(char delimiter)
{
    if (delimiter == '\r') {
        ++m_line;
        m_afterCarriageReturn = true;
        return;
    }
    if (delimiter == '\n' && !m_afterCarriageReturn) ++m_line;
    m_afterCarriageReturn = false;
}

void IntelHexReader::endField()
{
    if (m_fieldLength > 0) {
        if (m_field[0] == ':') {
            takeRecord();
        } else if (m_field[0] != kEndOfFileMark) {
            m_summary.ignoreLine(m_fieldLine);
        }
    }
    m_fieldLength = 0;
    m_state = State::BeforeField;
}

int IntelHexReader::value(int position, int digits) const
{
    int result = 0;
    for (int i = position; i < position + digits && i < m_fieldLength; ++i) {
        result = result * 16 + digitValue(m_field[i]);
    }
    return result;
}

bool IntelHexReader::isIntact(int dataBytes) const
{
    const int length = 11 + 2 * dataBytes;
    if (m_fieldLength < length) return false;
    int sum = 0;
    for (int i = 1; i < length; i += 2) {
        if (!isHexDigit(m_field[i]) || !isHexDigit(m_field[i + 1])) return false;
        sum += digitValue(m_field[i]) * 16 + digitValue(m_field[i + 1]);
    }
    return sum % 0x100 == 0;
}

void IntelHexReader::takeRecord()
{
    const int count = value(1, 2);
    const qint64 address = value(3, 4);
    const int type = value(7, 2);
    if (m_ended) {
        ++m_summary.recordsAfterEnd;
        return;
    }
    if (!isIntact(count)) ++m_summary.badRecords;

    switch (type) {
        case 0x00:
            for (int i = 0; i < count; ++i) store(m_base + address + i, value(9 + 2 * i, 2));
            break;
        case 0x01:
            m_ended = true;
            break;
        case 0x02:
            m_base = qint64{value(9, 4)} << 4;
            break;
        case 0x04:
            m_base = qint64{value(9, 4)} << 16;
            break;
        default:
            break;
    }
}

void IntelHexReader::store(qint64 address, int byte)
{
    if (m_image.contains(address)) {
        const auto index = static_cast<std::size_t>(address);
        if (m_written[index]) m_summary.overlap(address);
        m_written[index] = true;
        m_image.set(address, static_cast<std::uint8_t>(byte));
        ++m_summary.storedBytes;
        m_summary.reach(address + 1);
        return;
    }
    m_summary.leaveOut(address);
}

ImageReadSummary readIntelHex(QByteArrayView text, MemoryImage& image)
{
    IntelHexReader reader(image);
    reader.feed(text);
    reader.finish();
    return reader.summary();
}
