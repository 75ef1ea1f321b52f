#include "files/FileReplacement.h"

#include "files/RegularFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <unistd.h>
#include <cerrno>
#include <optional>

namespace {

FileWriteFailure failureOf(const QFileDevice& file)
{
    return FileWriteFailure::fromSystemText(
        file.error() == QFileDevice::NoError ? QString() : file.errorString());
}

FileWriteFailure failureOfErrno()
{
    return FileWriteFailure::fromSystemText(qt_error_string(errno));
}

// Writes all of `bytes`. A write that stops short (a full disk takes what fits and refuses the
// rest) is repeated until the system names its reason.
FileWriteFailure writeAll(QFileDevice& file, const QByteArray& bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) return failureOf(file);
        done += written;
    }
    return {};
}

// Puts the old contents back after a failed write in place.
FileWriteFailure restore(const QString& path, const QByteArray& contents)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        return failureOf(file);
    }
    FileWriteFailure failure = writeAll(file, contents);
    if (!failure.failed() && ::fsync(file.handle()) != 0) failure = failureOfErrno();
    return failure;
}

FileWriteFailure failureWithCause(FileWriteFailure::Cause cause)
{
    FileWriteFailure failure;
    failure.cause = cause;
    return failure;
}

}  // namespace

FileWriteFailure FileWriteFailure::fromSystemText(const QString& systemText)
{
    FileWriteFailure failure;
    if (systemText == qt_error_string(ENOSPC) || systemText == qt_error_string(EDQUOT)) {
        failure.cause = Cause::DiskFull;
    } else if (systemText.isEmpty()) {
        failure.cause = Cause::CutShort;
    } else {
        failure.cause = Cause::System;
    }
    failure.systemText = systemText;
    return failure;
}

QString FileWriteFailure::text() const
{
    QString result;
    switch (cause) {
        case Cause::None:
            return {};
        case Cause::NotRegularFile:
            result = notRegularFileText();
            break;
        case Cause::WriteProtected:
            result = QCoreApplication::translate("FileReplacement",
                                                 "ファイルへの書き込みが許可されていません。");
            break;
        case Cause::DiskFull:
            result =
                QCoreApplication::translate("FileReplacement", "ディスクの空き容量が足りません");
            break;
        case Cause::CutShort:
            result = QCoreApplication::translate("FileReplacement",
                                                 "ファイルへの書き込みが途中で止まりました。");
            break;
        case Cause::System:
            result = systemText;
            break;
    }
    if (restoreFailure) {
        result += QCoreApplication::translate("FileReplacement",
                                              "（元のファイルも元に戻せませんでした: %1）")
                      .arg(restoreFailure->text());
    }
    return result;
}

QString writeFailureCause(const QString& systemText)
{
    return FileWriteFailure::fromSystemText(systemText).text();
}

QString replaceFile(const QString& path, const QByteArray& bytes)
{
    return replaceFileReporting(path, bytes).text();
}

FileWriteFailure replaceFileReporting(const QString& path, const QByteArray& bytes)
{
    if (isSpecialFile(path)) return failureWithCause(FileWriteFailure::Cause::NotRegularFile);
    // Replacing a write-protected file by renaming over it would get round its protection.
    const QFileInfo target(path);
    if (target.exists() && !target.isDir() && !target.isWritable()) {
        return failureWithCause(FileWriteFailure::Cause::WriteProtected);
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
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return failureOf(file);
    FileWriteFailure failure = writeAll(file, bytes);
    // Some file systems find a full disk only when the data is flushed.
    if (!failure.failed() && ::fsync(file.handle()) != 0) failure = failureOfErrno();
    if (!failure.failed() && !file.commit()) failure = failureOf(file);
    if (!failure.failed()) return {};

    // Ends the writing without letting the QSaveFile's end remove anything: a temporary file is
    // dropped, a file written in place stays for its old contents to be put back.
    file.cancelWriting();
    static_cast<void>(file.commit());
    if (oldContents) {
        const FileWriteFailure restoreFailure = restore(path, *oldContents);
        if (restoreFailure.failed()) {
            failure.restoreFailure = std::make_shared<FileWriteFailure>(restoreFailure);
        }
    }
    return failure;
}
