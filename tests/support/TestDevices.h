#pragma once

#include "devices/SelectedDevice.h"

// A selected device with the parameters a test needs, without a catalogue row.
inline SelectedDevice makeDevice(BusFamily family, int sizeExponent, int pageSize,
                                 int commandVariant = 0, int microwireParam = 0)
{
    SelectedDevice device;
    device.Family = family;
    device.SizeExponent = sizeExponent;
    device.PageSize = pageSize;
    device.CommandVariant = commandVariant;
    device.MicrowireParam = microwireParam;
    return device;
}

// The shipped data file's device `name`, as the device list would select it.
SelectedDevice shippedDevice(const QString& name);
