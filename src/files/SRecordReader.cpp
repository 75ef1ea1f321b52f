#include "files/SRecordReader.h"

#include "base/HexDigits.h"
#include "image/MemoryImage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

int digitValue(char c) { return hexDigitValue(c); }

// Address bytes by record type; -1 for the unused type S4.
constexpr std::array<int, 10> kAddressBytes = {2, 2, 3, 4, -1, 2, 3, 4, 3, 2};

}  // namespace

void SRecordReader::feed(QByteArrayView text)
{
    const LeadingByteOrderMark::Pieces pieces = m_byteOrderMark.pass(text);
    parse(pieces.heldBack);
    parse(pieces.rest);
}

void SRecordReader::finish()
{
    parse(m_byteOrderMark.finish());
    if (m_length > 0 || m_tooLong) endLine();
}

void SRecordReader::parse(QByteArrayView text)
{
    const char* next = text.data();
    const char* const end = next + text.size();
    while (next < end) {
        const char c = *next;
        if (c == '\n') {
            if (!m_afterCarriageReturn) endLine();
            m_afterCarriageReturn = false;
            ++next;
            continue;
        }
        if (c == '\r') {
            endLine();
            m_afterCarriageReturn = true;
            ++next;
            continue;
        }
        m_afterCarriageReturn = false;
        if (m_length == 0) {
            while (next < end && isBlank(*next)) ++next;
        }
        const char* const start = next;
        while (next < end && *next != '\r' && *next != '\n') ++next;
        append(start, next - start);
    }
}

void SRecordReader::append(const char* characters, qsizetype count)
{
    const qsizetype kept = std::min<qsizetype>(count, kLongestRecord - m_length);
    if (kept > 0) {
        std::memcpy(m_text.data() + m_length, characters, static_cast<std::size_t>(kept));
        m_length += static_cast<int>(kept);
    }
    // Blanks after a full record are no more than trailing blanks.
    for (qsizetype i = std::max<qsizetype>(kept, 0); i < count && !m_tooLong; ++i) {
        if (!isBlank(characters[i])) m_tooLong = true;
    }
}

void SRecordReader::endLine()
{
    while (m_length > 0 && isBlank(m_text[m_length - 1])) --m_length;
    const bool empty = m_length == 0 || (m_length == 1 && m_text[0] == '\x1A');
    if (m_tooLong) {
        m_summary.ignoreLine(m_line);
    } else if (!empty) {
        takeRecord();
    }
    m_length = 0;
    m_tooLong = false;
    ++m_line;
}

void SRecordReader::takeRecord()
{
    const char* text = m_text.data();
    if (m_length < 4 || (text[0] != 'S' && text[0] != 's') || text[1] < '0' || text[1] > '9' ||
        m_length % 2 != 0) {
        m_summary.ignoreLine(m_line);
        return;
    }
    const int type = text[1] - '0';
    const int addressBytes = kAddressBytes[type];

    std::array<std::uint8_t, 256> bytes{};
    const int byteCount = (m_length - 2) / 2;
    for (int i = 0; i < byteCount; ++i) {
        const int high = digitValue(text[2 + 2 * i]);
        const int low = digitValue(text[3 + 2 * i]);
        if (high < 0 || low < 0) {
            m_summary.ignoreLine(m_line);
            return;
        }
        bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    // The count covers the address, the data and the checksum.
    const int count = bytes[0];
    if (addressBytes < 0 || count != byteCount - 1 || count < addressBytes + 1) {
        m_summary.ignoreLine(m_line);
        return;
    }

    unsigned sum = 0;
    for (int i = 0; i < byteCount - 1; ++i) sum += bytes[i];
    if (static_cast<std::uint8_t>(~sum) != bytes[byteCount - 1]) ++m_summary.badRecords;

    if (type < 1 || type > 3) return;
    qint64 address = 0;
    for (int i = 1; i <= addressBytes; ++i) address = address * 256 + bytes[i];
    const int dataStart = 1 + addressBytes;
    for (int i = dataStart; i < byteCount - 1; ++i) {
        const qint64 target = address + (i - dataStart);
        if (m_image.contains(target)) {
            m_image.set(target, bytes[i]);
            ++m_summary.storedBytes;
            m_summary.reach(target + 1);
        } else {
            m_summary.leaveOut(target);
        }
    }
}

ImageReadSummary readSRecords(QByteArrayView text, MemoryImage& image)
{
    SRecordReader reader(image);
    reader.feed(text);
    reader.finish();
    return reader.summary();
}
