#include "ui/HelpFile.h"

#include <QFileInfo>

namespace HelpFile {

QString relativePath(UiLanguage language)
{
    const QString japanese = QStringLiteral(VORLE_HELP_FILE);
    if (japanese.isEmpty() || language == UiLanguage::Japanese) return japanese;
    const QFileInfo page(japanese);
    return page.path() + QLatin1Char('/') + languageCode(language) + QLatin1Char('/') +
           page.fileName();
}

QString pathIn(const QString& appFolder, UiLanguage language)
{
    const QString relative = relativePath(language);
    return relative.isEmpty() ? QString() : appFolder + relative;
}

}  // namespace HelpFile
