#include "image/ListingPath.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

QString besideProgram(const QString& appFolder) { return appFolder + QStringLiteral("temp.txt"); }

QString cacheFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/VORLE/");
}

}  // namespace

QString listingFilePath(const QString& appFolder)
{
    const QString path = besideProgram(appFolder);
    if (!isSpecialFile(path)) {
        // Permission bits do not tell the whole story (root, read-only mounts, ACLs): try it.
        const bool existed = QFile::exists(path);
        QFile probe(path);
        if (probe.open(QIODevice::WriteOnly | QIODevice::Append)) {
            probe.close();
            if (!existed) probe.remove();
            return path;
        }
    }
    const QString folder = cacheFolder();
    QDir().mkpath(folder);
    return folder + QStringLiteral("temp.txt");
}

QList<SetAsideFile> setAsideSpecialListings(const QString& appFolder)
{
    QList<SetAsideFile> result;
    for (const QString& path : {besideProgram(appFolder), cacheFolder() + "temp.txt"}) {
        if (const std::optional<SetAsideFile> aside = setAsideSpecialFile(path)) {
            result.append(*aside);
        }
    }
    return result;
}
