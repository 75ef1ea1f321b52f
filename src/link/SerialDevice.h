#pragma once

#include <QString>

// One serial device of the system as a person would recognise it: its path, the stable link
// that survives re-plugging, and for a USB adapter what it says about itself.
struct SerialDevice {
    QString path;          // the device node, e.g. /dev/ttyUSB0
    QString stablePath;    // /dev/serial/by-id/usb-..., empty when the system made none
    QString maker;         // USB manufacturer string, e.g. "FTDI"
    QString product;       // USB product string, e.g. "FT232R USB UART"
    QString serialNumber;  // USB serial number string
    bool exists = false;

    // The path to store for this device: the stable one when there is one, since the node's
    // number depends on the order in which adapters were plugged in.
    [[nodiscard]] QString preferredPath() const { return stablePath.isEmpty() ? path : stablePath; }
    [[nodiscard]] bool hasUsbStrings() const
    {
        return !maker.isEmpty() || !product.isEmpty() || !serialNumber.isEmpty();
    }
};
