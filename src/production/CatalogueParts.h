#pragma once

#include "devices/DeviceCatalogue.h"
#include "devices/SelectedDevice.h"
#include "production/JobPart.h"

#include <QString>

#include <optional>

// The parts a job names, found in the parts file's catalogue (any case) as every front-end
// looks them up: the window in the catalogue it loaded, the command line in vorle6.ini or
// --data FILE.

// The part a job names, as the board moves it; nothing when the catalogue has no usable row.
[[nodiscard]] std::optional<SelectedDevice> jobDevice(const DeviceCatalogue& catalogue,
                                                      const QString& name);

// How jobs look their part up in `catalogue`, which must outlive the lookup.
[[nodiscard]] JobPartLookup jobPartLookup(const DeviceCatalogue& catalogue);
