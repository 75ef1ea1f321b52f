#pragma once

#include "devices/SelectedDevice.h"
#include "production/LineDatabaseAddress.h"
#include "production/ProductionJob.h"

#include <QString>

// What every board of a production run does, every value the caller's own: the checked job,
// its part as the board moves it, the line database and the station's name in it.
struct RoundOrder {
    ProductionJob job;
    SelectedDevice device;  // the job's part
    LineDatabaseAddress database;
    QString station;
    // Where writes that stopped inside their range are kept (the port claims' folder); none
    // when empty.
    QString stoppedWritesFolder;
};
