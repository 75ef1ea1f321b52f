#include "base/SpecialFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

bool isSpecialFile(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isFile() && !info.isDir();
}

std::optional<SetAsideFile> setAsideSpecialFile(const QString& path)
{
    if (!isSpecialFile(path)) return std::nullopt;
    SetAsideFile result;
    result.path = path;
    const QString base = path + QStringLiteral(".not-a-file");
    QString target = base;
    for (int n = 2; QFileInfo(target).exists() || QFileInfo(target).isSymLink(); ++n) {
        target = base + QStringLiteral("-%1").arg(n);
    }
    // rename() moves the name itself: a link stays a link and what it points to is not touched.
    if (std::rename(QFile::encodeName(path).constData(), QFile::encodeName(target).constData()) ==
        0) {
        result.newPath = target;
    } else {
        result.systemText = qt_error_string(errno);
    }
    return result;
}
