#pragma once

#include "files/FileReplacement.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// A backup file saved before a write or an erase overwrote the chip, or the one that could not
// be saved.
struct SavedBackup {
    QString path;  // the file; when it could not be saved, the name it was to have
    FileWriteFailure failure;

    [[nodiscard]] bool saved() const { return !failure.failed(); }
};

// Where a chip's contents go before they are overwritten: a raw binary image of the whole part
// from address 0 (what a .bin image file holds, so the window and vorle6-cli load it as it is),
// one file per overwrite, named after the part, the time and the port. A backup never replaces
// an earlier file, and reaches the disk whole or not at all (replaceFile).
namespace BackupFiles {

// "VORLE/backups" in the user's data folder (~/.local/share/VORLE/backups on Linux), the same
// for the window and vorle6-cli; empty when the system names no data folder.
[[nodiscard]] QString defaultFolder();

// "24C64_20260314-093015_ttyUSB0.bin": the part, the local time and the port's device name, with
// every character but letters, digits, '-' and '.' made '_'.
[[nodiscard]] QString fileName(const QString& partName, const QString& devicePath,
                               const QDateTime& at);

// Saves `image` in `folder`, which is made when missing, under fileName (with "-2", "-3", ...
// before the extension when that name is taken).
[[nodiscard]] SavedBackup save(const QString& folder, const QString& partName,
                               const QString& devicePath, const QByteArray& image,
                               const QDateTime& at);

}  // namespace BackupFiles
