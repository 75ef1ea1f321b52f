#include "support/TestDevices.h"

#include "devices/CatalogueLoad.h"

#include <QtGlobal>

SelectedDevice shippedDevice(const QString& name)
{
    const CatalogueLoad load = loadCatalogue(QStringLiteral(VORLE_DATA_FILE));
    const int index = load.catalogue.indexOf(name);
    SelectedDevice device;
    if (index < 0 || !SelectedDevice::fromRecord(load.catalogue.record(index), device)) {
        qFatal("no usable device %s in the shipped data file", qPrintable(name));
    }
    return device;
}
