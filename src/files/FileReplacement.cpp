#include "files/FileReplacement.h"

#include "base/SpecialFile.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <unistd.h>
#include <cerrno>

namespace {

// More links than this in a row are taken for a loop, as the system does.
constexpr int kMostLinks = 40;

FileWriteFailure failureOf(const QFileDevice& file)
{
    return FileWriteFailure::fromSystemText(
        file.error() == QFileDevice::NoError ? QString() : file.errorString());
}

FileWriteFailure failureWithCause(FileWriteFailure::Cause cause, const QString& path = {})
{
    FileWriteFailure failure;
    failure.cause = cause;
    failure.path = path;
    return failure;
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

// The file a save at `path` replaces: `path`, or the end of its chain of links.
QString finalTarget(const QString& path, FileWriteFailure& failure)
{
    QFileInfo info(path);
    for (int links = 0; info.isSymLink(); ++links) {
        if (links == kMostLinks) {
            failure = FileWriteFailure::fromSystemText(qt_error_string(ELOOP));
            return {};
        }
        info.setFile(info.symLinkTarget());
    }
    return info.absoluteFilePath();
}

FileWriteFailure problemAt(const QString& target, qint64 bytes, const FileReplacementSteps& steps)
{
    using Cause = FileWriteFailure::Cause;
    const QFileInfo info(target);
    if (info.isDir()) return failureWithCause(Cause::Folder);
    if (isSpecialFile(target)) return failureWithCause(Cause::NotRegularFile);
    // Replacing a write-protected file by renaming over it would get round its protection.
    if (info.exists() && !steps.mayWrite(target)) return failureWithCause(Cause::WriteProtected);
    const QString folder = info.absolutePath();
    if (!QFileInfo(folder).isDir()) return failureWithCause(Cause::NoFolder, folder);
    if (!steps.mayWrite(folder)) return failureWithCause(Cause::FolderWriteProtected, folder);
    const qint64 available = steps.availableBytes(folder);
    if (available >= 0 && available < bytes) return failureWithCause(Cause::DiskFull);
    return {};
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

bool FileReplacementSteps::mayWrite(const QString& path) const
{
    return QFileInfo(path).isWritable();
}

qint64 FileReplacementSteps::availableBytes(const QString& folder) const
{
    const QStorageInfo storage(folder);
    return storage.isValid() ? storage.bytesAvailable() : -1;
}

FileWriteFailure FileReplacementSteps::flush(QFileDevice& file)
{
    if (::fsync(file.handle()) == 0) return {};
    return FileWriteFailure::fromSystemText(qt_error_string(errno));
}

FileWriteFailure FileReplacementSteps::commit(QSaveFile& file)
{
    return file.commit() ? FileWriteFailure{} : failureOf(file);
}

FileWriteFailure replacementProblem(const QString& path, qint64 bytes,
                                    const FileReplacementSteps& steps)
{
    FileWriteFailure failure;
    const QString target = finalTarget(path, failure);
    if (failure.failed()) return failure;
    return problemAt(target, bytes, steps);
}

FileWriteFailure replacementProblem(const QString& path, qint64 bytes)
{
    return replacementProblem(path, bytes, FileReplacementSteps());
}

FileWriteFailure replaceFile(const QString& path, const QByteArray& bytes,
                             FileReplacementSteps& steps)
{
    FileWriteFailure failure;
    const QString target = finalTarget(path, failure);
    if (failure.failed()) return failure;
    failure = problemAt(target, bytes.size(), steps);
    if (failure.failed()) return failure;

    QSaveFile file(target);
    // Writing the target itself would leave neither the old file nor the new one on a failure.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return failureOf(file);
    failure = writeAll(file, bytes);
    // Some file systems find a full disk only when the data is flushed, and QSaveFile's own
    // flush keeps its failure to itself.
    if (!failure.failed()) failure = steps.flush(file);
    if (!failure.failed()) failure = steps.commit(file);
    // Drops the temporary file (a failed commit may have done so already); the target was
    // never touched.
    if (failure.failed() && file.isOpen()) {
        file.cancelWriting();
        static_cast<void>(file.commit());
    }
    return failure;
}

FileWriteFailure replaceFile(const QString& path, const QByteArray& bytes)
{
    FileReplacementSteps steps;
    return replaceFile(path, bytes, steps);
}
