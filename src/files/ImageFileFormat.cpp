#include "files/ImageFileFormat.h"

#include <QFileInfo>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool isPrintable(char c) { return (c >= 0x20 && c <= 0x7E) || c == '\t'; }

// Whether the line from `start` is printable text up to its end or to the end of `text`.
bool isTextLine(QByteArrayView text, qsizetype start)
{
    for (qsizetype i = start; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') return true;
        if (!isPrintable(c)) return false;
    }
    return true;
}

}  // namespace

ImageFileFormat formatForPath(const QString& path)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == u"hex" || extension == u"ihx" || extension == u"ihex") {
        return ImageFileFormat::IntelHex;
    }
    if (extension == u"s19" || extension == u"s28" || extension == u"s37" || extension == u"srec" ||
        extension == u"mot") {
        return ImageFileFormat::SRecord;
    }
    if (extension == u"bin") return ImageFileFormat::Binary;
    return ImageFileFormat::Unknown;
}

ImageFileFormat detectImageFileFormat(QByteArrayView head)
{
    qsizetype i = head.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < head.size() && isBlank(head[i])) ++i;
    if (i >= head.size() || !isTextLine(head, i)) return ImageFileFormat::Binary;
    const char first = head[i];
    if (first == ':') return ImageFileFormat::IntelHex;
    if ((first == 'S' || first == 's') && i + 1 < head.size() && head[i + 1] >= '0' &&
        head[i + 1] <= '9') {
        return ImageFileFormat::SRecord;
    }
    return ImageFileFormat::Binary;
}
