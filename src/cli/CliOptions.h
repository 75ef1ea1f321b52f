#pragma once

#include "cli/CliCommand.h"
#include "cli/ImageFormat.h"

#include <QString>
#include <QStringList>

#include <optional>

// What one vorle6-cli command line asks for, checked for form but not yet looked up: the part
// name, the ports and the files are resolved by the program.
struct CliOptions {
    CliCommand command = CliCommand::List;
    QString part;       // -d: a name of the data file, any case
    QStringList ports;  // -p: port numbers or device paths, in the order given
    std::optional<bool> rts;
    std::optional<bool> dtr;
    std::optional<qint64> accessSize;  // bytes from address 0
    std::optional<qint64> offset;      // a range: its first address ...
    std::optional<qint64> length;      // ... and its length
    QString input;                     // -i: a file, or "-" for standard input
    QString output;                    // -o: a file, or "-" for standard output
    std::optional<ImageFileFormat> format;
    bool search = false;       // detect: ask every serial device present
    bool truncate = false;     // leave out a file's data beyond the part
    bool force = false;        // take a file that does not fit the part, or whose records overlap
    bool swap16 = false;       // the file's bytes are swapped in pairs (x16 dumps of 93Cxx parts)
    bool noVerify = false;     // write and erase without reading back
    int reads = 1;             // --reads: every read of the chip made this many times and compared
    QString backupFolder;      // --backup: write and erase save the part there first
    bool changedOnly = false;  // --changed-only: write and erase send the differing chunks only
    bool quiet = false;
    bool json = false;
    QString dataFile;  // --data: the catalogue instead of the one beside the program
};
