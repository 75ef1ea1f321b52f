#include "production/LineDatabaseAddress.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSysInfo>
#include <QUrl>
#include <QUrlQuery>

QString LineDatabaseAddress::driverName() const
{
    return backend == Backend::Postgres ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
}

QString LineDatabaseAddress::displayText() const
{
    if (backend == Backend::Sqlite) return path;
    QString text = QStringLiteral("postgresql://");
    if (!user.isEmpty()) text += user + QLatin1Char('@');
    return text + QStringLiteral("%1:%2/%3").arg(host).arg(port).arg(database);
}

std::optional<LineDatabaseAddress> parseLineDatabaseAddress(const QString& text,
                                                            const QString& station)
{
    LineDatabaseAddress address;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        address.path = defaultLineDatabasePath(station);
        address.makeFolder = true;
        return address;
    }
    const bool postgres = trimmed.startsWith(QLatin1String("postgresql://")) ||
                          trimmed.startsWith(QLatin1String("postgres://"));
    if (!postgres) {
        if (trimmed.contains(QLatin1String("://"))) return std::nullopt;
        address.path = QDir::cleanPath(QDir::current().absoluteFilePath(trimmed));
        return address;
    }
    const QUrl url(trimmed, QUrl::StrictMode);
    const QString database = url.path().mid(1);
    if (!url.isValid() || url.host().isEmpty() || database.isEmpty() || database.contains('/')) {
        return std::nullopt;
    }
    address.backend = LineDatabaseAddress::Backend::Postgres;
    address.host = url.host();
    address.port = url.port(LineDatabaseAddress::kPostgresPort);
    address.user = url.userName(QUrl::FullyDecoded);
    address.password = url.password(QUrl::FullyDecoded);
    address.database = QUrl::fromPercentEncoding(database.toUtf8());
    QStringList options;
    for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        options.append(key + QLatin1Char('=') + value);
    }
    address.options = options.join(QLatin1Char(';'));
    return address;
}

QString defaultLineDatabasePath(const QString& station)
{
    QString name = station;
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/VORLE";
    return folder + QStringLiteral("/line-%1.sqlite").arg(name);
}

QString defaultStationName()
{
    const QString name = QSysInfo::machineHostName();
    return name.isEmpty() ? QStringLiteral("station") : name;
}
