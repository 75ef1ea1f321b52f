#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

// Writes a whole file so that no failure costs the user the file that was there before.
//
// The bytes go to a temporary file beside the target, reach the disk, and only then take the
// target's place. Where no temporary file can be made (a folder the user may not write to,
// holding a file they may), the target itself is written and, should that fail, its old
// contents are written back. A target that may not be written, or that is not a regular file,
// is refused before anything is written.
//
// Why a file could not be written, for each front-end to word in its language.
struct FileWriteFailure {
    enum class Cause {
        None,            // written
        NotRegularFile,  // a pipe, a device or the like
        WriteProtected,  // the file may not be written
        DiskFull,        // no space left on the disk, or the user's quota is used up
        CutShort,        // the system stopped taking the bytes without saying why
        System,          // the system's words in `systemText`
    };

    Cause cause = Cause::None;
    QString systemText;
    // A failed write in place whose old contents could not be put back either: why not.
    std::shared_ptr<FileWriteFailure> restoreFailure;

    [[nodiscard]] bool failed() const { return cause != Cause::None; }
    // The window's words: a full disk or quota is "ディスクの空き容量が足りません", other
    // failures keep the system's words.
    [[nodiscard]] QString text() const;

    // The failure the system's words `systemText` stand for (empty: none given).
    [[nodiscard]] static FileWriteFailure fromSystemText(const QString& systemText);
};

// Empty on success, else the cause in the window's words.
[[nodiscard]] QString replaceFile(const QString& path, const QByteArray& bytes);
// The same with the cause to be worded by the caller.
[[nodiscard]] FileWriteFailure replaceFileReporting(const QString& path, const QByteArray& bytes);

// The cause of a failed write in the window's words: `systemText` is the system's words for
// it, empty when the system gave none.
[[nodiscard]] QString writeFailureCause(const QString& systemText);
