#pragma once

#include <QByteArray>
#include <QString>

class QFileDevice;
class QSaveFile;

// Why a file could not be written, for each front-end to word in its language.
struct FileWriteFailure {
    enum class Cause {
        None,                  // written
        NotRegularFile,        // a pipe, a device or the like
        Folder,                // the path names a folder
        NoFolder,              // the folder to write in does not exist (`path`)
        WriteProtected,        // the file may not be written
        FolderWriteProtected,  // the folder (`path`) takes no new file, so the old one
                               // could not be kept until the new one is complete
        DiskFull,              // no room for the new file beside the old one, or no quota
        CutShort,              // the system stopped taking the bytes without saying why
        System,                // the system's words in `systemText`
    };

    Cause cause = Cause::None;
    QString systemText;
    QString path;  // the folder for NoFolder and FolderWriteProtected

    [[nodiscard]] bool failed() const { return cause != Cause::None; }

    // The failure the system's words `systemText` stand for (empty: none given).
    [[nodiscard]] static FileWriteFailure fromSystemText(const QString& systemText);
};

// The steps of a replacement that ask the system or reach the disk. Tests replace them to see a
// save through failures that no test folder can bring about, whoever runs it.
class FileReplacementSteps {
public:
    virtual ~FileReplacementSteps() = default;

    // Whether the user may write the file or folder at `path`.
    [[nodiscard]] virtual bool mayWrite(const QString& path) const;
    // The bytes the user may still put into `folder`; -1 when the system does not say.
    [[nodiscard]] virtual qint64 availableBytes(const QString& folder) const;
    // Puts what was written to `file` on the disk.
    [[nodiscard]] virtual FileWriteFailure flush(QFileDevice& file);
    // Puts the completely written `file` in the target's place.
    [[nodiscard]] virtual FileWriteFailure commit(QSaveFile& file);
};

// Writes a whole file so that no failure costs the user the file that was there before.
//
// A symbolic link is followed to the file it names, which is replaced; the link stays. The bytes
// go to a temporary file beside that file, reach the disk, and only then take its place, so the
// old file is whole until the new one is. Where that cannot be done, nothing is written: a
// target that is not a regular file, or may not be written; a folder that takes no new file
// (the old file could not be kept while writing); a disk without room for the new file beside
// the old one.
[[nodiscard]] FileWriteFailure replaceFile(const QString& path, const QByteArray& bytes);
[[nodiscard]] FileWriteFailure replaceFile(const QString& path, const QByteArray& bytes,
                                           FileReplacementSteps& steps);

// What would refuse a replaceFile of `bytes` bytes at `path` before anything is written; None
// when nothing does. The command line asks before it reads a chip for the file.
[[nodiscard]] FileWriteFailure replacementProblem(const QString& path, qint64 bytes);
[[nodiscard]] FileWriteFailure replacementProblem(const QString& path, qint64 bytes,
                                                  const FileReplacementSteps& steps);
