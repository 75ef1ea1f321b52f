#include "cli/ImageFormat.h"

namespace {

struct FormatWord {
    ImageFileFormat format;
    const char* word;
};

constexpr FormatWord kWords[] = {
    {ImageFileFormat::IntelHex, "hex"},
    {ImageFileFormat::SRecord, "srec"},
    {ImageFileFormat::Binary, "bin"},
};

}  // namespace

std::optional<ImageFileFormat> imageFormatOfPath(const QString& path)
{
    const ImageFileFormat format = formatForPath(path);
    if (format == ImageFileFormat::Unknown) return std::nullopt;
    return format;
}

std::optional<ImageFileFormat> imageFormatNamed(const QString& name)
{
    for (const FormatWord& word : kWords) {
        if (name.compare(QLatin1String(word.word), Qt::CaseInsensitive) == 0) return word.format;
    }
    return std::nullopt;
}

QString imageFormatName(ImageFileFormat format)
{
    for (const FormatWord& word : kWords) {
        if (word.format == format) return QString::fromLatin1(word.word);
    }
    return QStringLiteral("hex");
}
