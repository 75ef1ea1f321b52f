#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringEncoder>

TestEnvironment::TestEnvironment(bool withDataFile)
{
    qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (m_config.path() + "/cache").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (m_config.path() + "/data").toLocal8Bit());
    // Port claims and the records of stopped writes live in the runtime folder.
    QDir().mkpath(m_config.path() + "/runtime");
    qputenv("XDG_RUNTIME_DIR", (m_config.path() + "/runtime").toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_config.path());
    if (withDataFile) QFile::copy(QStringLiteral(VORLE_DATA_FILE), appFolder() + "vorle6.ini");
}

QString TestEnvironment::appFolder() const { return m_app.path() + QLatin1Char('/'); }

QString TestEnvironment::settingsFile() const
{
    return m_config.path() + QStringLiteral("/VORLE/VORLE.conf");
}

QString TestEnvironment::lockFilePath() const { return m_config.path() + "/vorle6.lock"; }

void TestEnvironment::copyTranslations() const
{
    const QDir built(QStringLiteral(VORLE_BUILT_TRANSLATIONS));
    const QString target = appFolder() + QStringLiteral(VORLE_TRANSLATIONS_FOLDER);
    QDir().mkpath(target);
    for (const QString& name : built.entryList({QStringLiteral("*.qm")}, QDir::Files)) {
        if (!QFile::copy(built.filePath(name), target + QLatin1Char('/') + name)) {
            qFatal("cannot copy the translation %s", qPrintable(name));
        }
    }
}

void TestEnvironment::writeDataFile(const QString& text) const
{
    QFile file(appFolder() + "vorle6.ini");
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write data file");
    QStringEncoder encoder("Shift_JIS");
    file.write(encoder.encode(text));
}

void TestEnvironment::clearSettings() const
{
    QSettings settings(QStringLiteral("VORLE"), QStringLiteral("VORLE"));
    settings.clear();
    settings.sync();
}
