#include "files/LeadingByteOrderMark.h"

namespace {

constexpr char kMark[] = {'\xEF', '\xBB', '\xBF'};
constexpr int kMarkLength = 3;

}  // namespace

LeadingByteOrderMark::Pieces LeadingByteOrderMark::pass(QByteArrayView text)
{
    if (m_decided) return {{}, text};
    const int heldBefore = m_matched;
    qsizetype i = 0;
    while (i < text.size() && m_matched < kMarkLength) {
        if (text[i] != kMark[m_matched]) {
            // Not a mark: what was held back and what this piece matched are text.
            m_decided = true;
            return {QByteArrayView(kMark, heldBefore), text};
        }
        ++m_matched;
        ++i;
    }
    if (m_matched < kMarkLength) return {};
    m_decided = true;
    return {{}, text.sliced(i)};
}

QByteArrayView LeadingByteOrderMark::finish()
{
    if (m_decided) return {};
    m_decided = true;
    return QByteArrayView(kMark, m_matched);
}
