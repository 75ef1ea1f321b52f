#pragma once

#include "devices/DeviceCatalogue.h"

#include <QString>

// The device catalogue as loaded from the data file vorle6.ini, with what did not fit. Every
// front-end loads it this way; each tells its user about the problems in its own words.
struct CatalogueLoad {
    QString path;
    bool read = false;  // the file could be read at all
    QString version;    // the data file's version line
    DeviceCatalogue catalogue;
    int ignoredRows = 0;            // device rows after the 101st
    int itemsWithTooManyWords = 0;  // items of more than 65 words
    bool endsInsideQuote = false;   // a quoted item ran to the end of the file
};

// Reads the data file at `path` (Shift_JIS) into a catalogue.
[[nodiscard]] CatalogueLoad loadCatalogue(const QString& path);
