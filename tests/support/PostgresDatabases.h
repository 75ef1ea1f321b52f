#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// The private PostgreSQL server that the postgres_server fixture started (its state file is
// VORLE_POSTGRES_STATE), and fresh databases on it, one per test case.
class PostgresDatabases {
public:
    PostgresDatabases()
    {
        QFile state(QStringLiteral(VORLE_POSTGRES_STATE));
        if (!state.open(QIODevice::ReadOnly)) return;
        for (const QByteArray& line : state.readAll().split('\n')) {
            if (line.startsWith("port=")) m_port = line.mid(5).toInt();
        }
    }

    [[nodiscard]] bool ready() const
    {
        return m_port > 0 && QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")) &&
               QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"));
    }
    [[nodiscard]] int port() const { return m_port; }

    // A name no earlier case of this process used: "line_<pid>_<n>".
    [[nodiscard]] QString freshName()
    {
        return QStringLiteral("line_%1_%2").arg(QCoreApplication::applicationPid()).arg(++m_count);
    }

    // The address of a new, empty database on the server; empty when it cannot be made.
    [[nodiscard]] QString freshDatabase()
    {
        const QString name = freshName();
        bool made = false;
        {
            QSqlDatabase admin =
                QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("admin"));
            admin.setHostName(QStringLiteral("127.0.0.1"));
            admin.setPort(m_port);
            admin.setUserName(QStringLiteral("vorle"));
            admin.setDatabaseName(QStringLiteral("postgres"));
            made = admin.open() && QSqlQuery(admin).exec(QStringLiteral("CREATE DATABASE ") + name);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("admin"));
        if (!made) return {};
        return QStringLiteral("postgresql://vorle@127.0.0.1:%1/%2").arg(m_port).arg(name);
    }

private:
    int m_port = 0;
    int m_count = 0;
};
