#include "files/BackupFiles.h"

#include "files/ImageFileSave.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kExtension = QStringLiteral(".bin");
const QString kTimeFormat = QStringLiteral("yyyyMMdd-HHmmss");

QString safeWord(const QString& word)
{
    QString result = word;
    for (QChar& c : result) {
        const bool kept = (c.isLetterOrNumber() && c.unicode() < 0x80) || c == QLatin1Char('-') ||
                          c == QLatin1Char('.');
        if (!kept) c = QLatin1Char('_');
    }
    return result;
}

bool taken(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

}  // namespace

QString BackupFiles::defaultFolder()
{
    // The window and vorle6-cli are programs of their own names: the folder of the maker's data,
    // where the line database lives too, is the one they share.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? QString() : QDir(data).filePath(QStringLiteral("VORLE/backups"));
}

QString BackupFiles::fileName(const QString& partName, const QString& devicePath,
                              const QDateTime& at)
{
    const QString part = partName.isEmpty() ? QStringLiteral("eeprom") : safeWord(partName);
    const QString port = safeWord(QFileInfo(devicePath).fileName());
    QString name = part + QLatin1Char('_') + at.toString(kTimeFormat);
    if (!port.isEmpty()) name += QLatin1Char('_') + port;
    return name + kExtension;
}

SavedBackup BackupFiles::save(const QString& folder, const QString& partName,
                              const QString& devicePath, const QByteArray& image,
                              const QDateTime& at)
{
    SavedBackup result;
    const QDir dir(folder);
    const QString name = fileName(partName, devicePath, at);
    result.path = dir.filePath(name);
    if (!dir.mkpath(QStringLiteral("."))) {
        result.failure.cause = FileWriteFailure::Cause::NoFolder;
        result.failure.path = dir.absolutePath();
        return result;
    }
    const QString stem = name.chopped(kExtension.size());
    for (int number = 2; taken(result.path); ++number) {
        result.path = dir.filePath(stem + QStringLiteral("-%1").arg(number) + kExtension);
    }
    result.failure = saveImageFile(result.path, ImageFileFormat::Binary, image);
    return result;
}
