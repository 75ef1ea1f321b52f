#include "production/Sha256.h"

#include <QCryptographicHash>

QString sha256Text(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}
