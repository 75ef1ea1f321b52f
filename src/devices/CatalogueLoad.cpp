#include "devices/CatalogueLoad.h"

#include "base/DataFileReader.h"

CatalogueLoad loadCatalogue(const QString& path)
{
    CatalogueLoad load;
    load.path = path;
    const std::optional<DataFileContents> contents = readDataFile(path);
    if (!contents) return load;
    load.read = true;
    load.version = contents->version;
    load.catalogue = DeviceCatalogue(contents->rows);
    load.ignoredRows = contents->ignoredRows;
    load.itemsWithTooManyWords = contents->itemsWithTooManyWords;
    load.endsInsideQuote = contents->endsInsideQuote;
    return load;
}
