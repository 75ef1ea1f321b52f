#pragma once

#include "link/BoardSearch.h"
#include "link/SerialDevice.h"

#include <QString>

// The lines beside the port list (Lbl_PortDevice): which device the chosen number stands for,
// where it comes from, what the adapter says about itself and whether the port can be used.
// Problems are told here rather than in a message box, so that browsing the numbers does not
// raise one box after another.
struct PortDeviceSummary {
    enum class State {
        Unchecked,  // not opened (yet)
        Missing,    // nothing at the path
        Usable,     // opened
        Held,       // another program holds it: `detail` names the holder
        Unusable,   // exists but did not open: `detail` holds the reason
    };

    int portNumber = 0;
    QString devicePath;       // as the number maps it
    bool overridden = false;  // from [Ports] rather than the usual rule
    SerialDevice device;      // what is known of the device at the path
    State state = State::Unchecked;
    QString detail;
    QString board;  // the identification, when the board was just found there

    [[nodiscard]] QString text() const;

    // One line for a device the board search asked: "COM1 /dev/ttyUSB0: 応答なし".
    [[nodiscard]] static QString probeText(const BoardSearch::Probe& probe);
};
