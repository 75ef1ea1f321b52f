#include "link/StoppedWrites.h"

#include "link/PortClaim.h"

#include <QFile>
#include <QSaveFile>

QString StoppedWrites::fileOf(const QString& devicePath) const
{
    QString path = PortClaim::lockPath(m_folder, devicePath);
    path.replace(path.size() - 5, 5, QStringLiteral(".stopped"));
    return path;
}

void StoppedWrites::record(const QString& devicePath, const Record& record) const
{
    QSaveFile file(fileOf(devicePath));
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(QByteArray::number(record.bytesAwaited) + ' ' +
               QByteArray::number(record.lastAddress) + '\n');
    (void)file.commit();
}

void StoppedWrites::clear(const QString& devicePath) const
{
    const QString path = fileOf(devicePath);
    if (QFile::exists(path)) QFile::remove(path);
}

std::optional<StoppedWrites::Record> StoppedWrites::find(const QString& devicePath) const
{
    QFile file(fileOf(devicePath));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QList<QByteArray> words = file.readLine(64).trimmed().split(' ');
    if (words.size() != 2) return std::nullopt;
    bool countOk = false;
    bool addressOk = false;
    Record record;
    record.bytesAwaited = words.at(0).toLongLong(&countOk);
    record.lastAddress = words.at(1).toLongLong(&addressOk);
    if (!countOk || !addressOk || record.bytesAwaited <= 0) return std::nullopt;
    return record;
}
