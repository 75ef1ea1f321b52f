#include "files/IntelHexReader.h"

#include "image/MemoryImage.h"

namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int digitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

}  // namespace

void IntelHexReader::feed(QByteArrayView text)
{
    for (const char c : text) {
        switch (m_state) {
            case State::BeforeField:
                if (c == ' ' || c == '\t') break;
                if (c == '"') {
                    m_state = State::Quoted;
                } else if (c == ',' || isLineEnd(c)) {
                    endField();
                } else {
                    append(c);
                    m_state = State::Plain;
                }
                break;
            case State::Plain:
                if (c == ',' || isLineEnd(c)) {
                    endField();
                } else {
                    append(c);
                }
                break;
            case State::Quoted:
                if (c == '"') {
                    m_state = State::AfterQuote;
                } else {
                    append(c);
                }
                break;
            case State::AfterQuote:
                // What stands between the closing quote and the next delimiter is dropped.
                if (c == ',' || isLineEnd(c)) endField();
                break;
        }
    }
}

void IntelHexReader::finish()
{
    if (m_state != State::BeforeField) endField();
}

void IntelHexReader::append(char c)
{
    if (m_fieldLength < kLongestRecord) m_field[m_fieldLength++] = c;
}

void IntelHexReader::endField()
{
    takeRecord();
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
        sum += value(i, 2);
    }
    return sum % 0x100 == 0;
}

void IntelHexReader::takeRecord()
{
    if (m_fieldLength == 0 || m_field[0] != ':') return;
    const int count = value(1, 2);
    const qint64 address = value(3, 4);
    const int type = value(7, 2);
    if (!isIntact(count)) ++m_summary.badRecords;

    switch (type) {
        case 0x00:
            for (int i = 0; i < count; ++i) store(m_base + address + i, value(9 + 2 * i, 2));
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
        m_image.set(address, static_cast<std::uint8_t>(byte));
        ++m_summary.storedBytes;
        return;
    }
    ++m_summary.bytesBeyond;
    if (m_summary.lowestAddressBeyond < 0 || address < m_summary.lowestAddressBeyond) {
        m_summary.lowestAddressBeyond = address;
    }
}

IntelHexReadSummary readIntelHex(QByteArrayView text, MemoryImage& image)
{
    IntelHexReader reader(image);
    reader.feed(text);
    reader.finish();
    return reader.summary();
}
