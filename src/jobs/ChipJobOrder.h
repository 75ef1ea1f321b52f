#pragma once

#include "devices/SelectedDevice.h"
#include "link/LinkSettings.h"
#include "link/TransferPlan.h"

#include <QByteArray>
#include <QString>

// What a chip job is to do, every value the caller's own: the line, the range and the bytes.
struct ChipJobOrder {
    enum class Kind {
        Detect,      // ask for the board's identification
        Read,        // read the range
        Write,       // write the range of `image`, then verify it when `checkAfter`
        Verify,      // read the range and compare it with `image`
        BlankCheck,  // read the range and look for bytes other than 0xFF
        Erase,       // write 0xFF over the range, then check it blank when `checkAfter`
    };

    Kind kind = Kind::Detect;
    LinkSettings link;
    TransferRequest request;  // device, block range or byte cell
    QByteArray image;         // Write: the bytes to write; Verify: what the chip should hold
    bool checkAfter = false;  // Write, Erase: read the range back afterwards

    // Every read the job makes (a read, a verify or blank check, the read before a block write
    // or erase, the check after one) is made this many times and compared (ReadAgreement).
    int reads = 1;
    // Block write, erase: before anything is sent for it, the whole part is read and saved in
    // this folder (BackupFiles); a backup that cannot be read or saved stops the job. Empty: no
    // backup.
    QString backupFolder;
    QString partName;  // the part as the catalogue names it, for the backup file's name
    // Block write, erase: only the chunks the chip does not already hold are sent (changedSpans),
    // found from the backup's read or a read of the range. The check after covers the whole range.
    bool changedOnly = false;

    // A block request over the whole of `device`: what blank check and erase cover by default.
    [[nodiscard]] static TransferRequest wholePart(const SelectedDevice& device);
};
