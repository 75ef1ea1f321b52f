#pragma once

#include "cli/AccessRange.h"
#include "cli/CliCommand.h"
#include "devices/SelectedDevice.h"
#include "jobs/ChipStep.h"

#include <QByteArray>
#include <QString>

// What every board of one command is to do; the same for all of them.
struct JobOrder {
    CliCommand command = CliCommand::Detect;
    SelectedDevice device;  // every command but detect
    QString partName;       // as the catalogue spells it
    AccessRange range;
    QByteArray image;          // write and verify: the part's image from the file
    bool verifyAfter = true;   // write and erase: read back afterwards
    int reads = 1;             // every read of the chip, made this many times and compared
    QString backupFolder;      // write and erase: the part is saved there first
    bool changedOnly = false;  // write and erase: only the chunks the chip does not hold
    QString claimFolder;       // where the port claims and the stopped writes are kept
};

// "read", "verify", "blank check", ...: a step as progress and results name it.
[[nodiscard]] QString chipStepName(ChipStep step);
