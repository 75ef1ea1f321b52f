#include "base/FileExists.h"

#include <QFile>
#include <QFileInfo>

bool FileExists(const QString& path)
{
    // Only regular files are tried: opening a named pipe without a writer would wait for ever.
    if (path.isEmpty() || !QFileInfo(path).isFile()) return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}
