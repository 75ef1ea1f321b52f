#include "ui/HelpFile.h"

namespace HelpFile {

QString relativePath() { return QStringLiteral(VORLE_HELP_FILE); }

QString pathIn(const QString& appFolder)
{
    const QString relative = relativePath();
    return relative.isEmpty() ? QString() : appFolder + relative;
}

}  // namespace HelpFile
