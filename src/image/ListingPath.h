#pragma once

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QString>

// Where the text listing of the memory image ("temp.txt") lives: in the application folder, or,
// when the program cannot write there (an installed program in a system folder), in the user's
// cache folder ($XDG_CACHE_HOME/VORLE, else ~/.cache/VORLE). The grid writer and the listing
// command both ask here, so they always meet at the same file.
[[nodiscard]] inline QString listingFilePath(const QString& appFolder)
{
    const QString besideProgram = appFolder + QStringLiteral("temp.txt");

    // Permission bits do not tell the whole story (root, read-only mounts, ACLs): try it.
    const bool existed = QFile::exists(besideProgram);
    QFile probe(besideProgram);
    if (probe.open(QIODevice::WriteOnly | QIODevice::Append)) {
        probe.close();
        if (!existed) probe.remove();
        return besideProgram;
    }

    const QString cacheFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
        QStringLiteral("/VORLE/");
    QDir().mkpath(cacheFolder);
    return cacheFolder + QStringLiteral("temp.txt");
}
