#include "files/IntelHexFile.h"

#include "files/IntelHexReader.h"
#include "files/IntelHexWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>

#include <array>

QString saveIntelHexFile(const QString& path, const MemoryImage& image)
{
    // Replacing a write-protected file by renaming over it would get round its protection.
    const QFileInfo target(path);
    if (target.exists() && !target.isDir() && !target.isWritable()) {
        return QStringLiteral("ファイルへの書き込みが許可されていません。");
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    const QByteArray text = intelHexText(image.bytes());
    if (file.write(text) != text.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit()) return file.errorString();
    return {};
}

IntelHexLoad loadIntelHex(QIODevice& device, qint64 imageSize)
{
    IntelHexLoad load;
    load.image.recreate(imageSize);
    IntelHexReader reader(load.image);
    std::array<char, 65536> buffer{};
    for (;;) {
        const qint64 count = device.read(buffer.data(), static_cast<qint64>(buffer.size()));
        if (count < 0) {
            load.error = device.errorString();
            return load;
        }
        if (count == 0) break;
        reader.feed(QByteArrayView(buffer.data(), count));
    }
    reader.finish();
    load.summary = reader.summary();
    load.complete = true;
    return load;
}

IntelHexLoad loadIntelHexFile(const QString& path, qint64 imageSize)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        IntelHexLoad load;
        load.error = file.errorString();
        return load;
    }
    return loadIntelHex(file, imageSize);
}
