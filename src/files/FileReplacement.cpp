#include "files/FileReplacement.h"

#include "files/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <unistd.h>
#include <cerrno>
#include <optional>

namespace {

QString causeOf(const QFileDevice& file)
{
    return writeFailureCause(file.error() == QFileDevice::NoError ? QString() : file.errorString());
}

// Writes all of `bytes`. A write that stops short (a full disk takes what fits and refuses the
// rest) is repeated until the system names its reason.
QString writeAll(QFileDevice& file, const QByteArray& bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) return causeOf(file);
        done += written;
    }
    return {};
}

// Puts the old contents back after a failed write in place; empty when that worked.
QString restore(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        return causeOf(file);
    }
    QString error = writeAll(file, contents);
    if (error.isEmpty() && ::fsync(file.handle()) != 0) {
        error = writeFailureCause(qt_error_string(errno));
    }
    return error;
}

}  // namespace

QString writeFailureCause(const QString& systemText)
{
    if (systemText == qt_error_string(ENOSPC) || systemText == qt_error_string(EDQUOT)) {
        return QStringLiteral("ディスクの空き容量が足りません");
    }
    if (systemText.isEmpty()) {
        return QStringLiteral("ファイルへの書き込みが途中で止まりました。");
    }
    return systemText;
}

QString replaceFile(const QString& path, const QByteArray& bytes)
{
    if (isSpecialFile(path)) return notRegularFileText();
    // Replacing a write-protected file by renaming over it would get round its protection.
    const QFileInfo target(path);
    if (target.exists() && !target.isDir() && !target.isWritable()) {
        return QStringLiteral("ファイルへの書き込みが許可されていません。");
    }

    // No temporary file can be made in a folder the user may not write to, so the target is
    // written in place: its contents are kept to be put back should that fail.
    std::optional<QByteArray> oldContents;
    if (target.isFile() && !QFileInfo(target.absolutePath()).isWritable()) {
        QFile old;
        QString error;
        if (openRegularFile(old, path, error) == RegularFileOpening::Opened) {
            oldContents = old.readAll();
        }
    }

    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return causeOf(file);
    QString error = writeAll(file, bytes);
    // Some file systems find a full disk only when the data is flushed.
    if (error.isEmpty() && ::fsync(file.handle()) != 0) {
        error = writeFailureCause(qt_error_string(errno));
    }
    if (error.isEmpty() && !file.commit()) error = causeOf(file);
    if (error.isEmpty()) return {};

    // Ends the writing without letting the QSaveFile's end remove anything: a temporary file is
    // dropped, a file written in place stays for its old contents to be put back.
    file.cancelWriting();
    static_cast<void>(file.commit());
    if (oldContents) {
        const QString restoreError = restore(path, *oldContents);
        if (!restoreError.isEmpty()) {
            error += QStringLiteral("（元のファイルも元に戻せませんでした: %1）").arg(restoreError);
        }
    }
    return error;
}
