#include "cli/ImageFormat.h"

#include <QFileInfo>

std::optional<ImageFormat> imageFormatOfPath(const QString& path)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == QLatin1String("hex") || extension == QLatin1String("ihx") ||
        extension == QLatin1String("ihex")) {
        return ImageFormat::IntelHex;
    }
    if (extension == QLatin1String("bin")) return ImageFormat::Binary;
    return std::nullopt;
}

std::optional<ImageFormat> imageFormatNamed(const QString& name)
{
    if (name == QLatin1String("hex")) return ImageFormat::IntelHex;
    if (name == QLatin1String("bin")) return ImageFormat::Binary;
    return std::nullopt;
}

QString imageFormatName(ImageFormat format)
{
    return format == ImageFormat::IntelHex ? QStringLiteral("hex") : QStringLiteral("bin");
}
