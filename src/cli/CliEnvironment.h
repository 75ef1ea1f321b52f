#pragma once

#include "cli/ParallelRunner.h"

#include <QString>

class LinkFactory;
class PortHolders;
class QIODevice;
class SerialDevices;

// What vorle6-cli runs in: where its data file and port claims are, its three streams, and
// how it reaches the boards. main() hands in the real ones; tests hand in buffers and
// emulated boards in fake time.
struct CliEnvironment {
    QString appFolder;    // the program's folder: vorle6.ini is looked for there
    QString claimFolder;  // where the port claims are kept
    QIODevice* input = nullptr;
    QIODevice* output = nullptr;
    QIODevice* errors = nullptr;
    bool errorsAreTerminal = false;  // draw a progress bar rather than progress lines
    LinkFactory* links = nullptr;
    ParallelRunner::Mode mode = ParallelRunner::Mode::ThreadPerBoard;
    // The serial devices present and who holds them, for detect --search; none: the system's.
    const SerialDevices* devices = nullptr;
    const PortHolders* holders = nullptr;
};
