#include "base/ProductInfo.h"

namespace ProductInfo {

QString versionNumber()
{
    return QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

QString versionLabel() { return QStringLiteral("Ver ") + versionNumber(); }

QString titleText()
{
    return QStringLiteral("Serial EEPROM Programmer ") + versionLabel() + QStringLiteral("  ");
}

}  // namespace ProductInfo
