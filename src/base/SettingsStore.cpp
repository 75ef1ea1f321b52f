#include "base/SettingsStore.h"

#include "base/NumberText.h"
#include "base/ProductInfo.h"

#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// The user's files that QSettings reads for the program: its own and the organisation's (the
// two names are the same).
QStringList userSettingsFiles()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString name = ProductInfo::kApplicationTitle;
    return {folder + QLatin1Char('/') + name + QLatin1Char('/') + name + QStringLiteral(".conf"),
            folder + QLatin1Char('/') + name + QStringLiteral(".conf")};
}

}  // namespace

SettingsStore::SettingsStore()
{
    bool blocked = false;
    for (const QString& path : userSettingsFiles()) {
        if (const std::optional<SetAsideFile> aside = setAsideSpecialFile(path)) {
            m_setAside.append(*aside);
            blocked = blocked || !aside->moved();
        }
    }
    if (blocked) {
        m_stopGap = std::make_unique<QTemporaryDir>();
        m_settings = std::make_unique<QSettings>(m_stopGap->filePath(QStringLiteral("VORLE.conf")),
                                                 QSettings::IniFormat);
        return;
    }
    m_settings =
        std::make_unique<QSettings>(ProductInfo::kApplicationTitle, ProductInfo::kApplicationTitle);
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::get(const QString& section, const QString& key,
                           const QString& defaultValue) const
{
    const QVariant value = m_settings->value(section + QLatin1Char('/') + key);
    return value.isValid() ? value.toString() : defaultValue;
}

void SettingsStore::save(const QString& section, const QString& key, const QString& value)
{
    m_settings->setValue(section + QLatin1Char('/') + key, value);
    m_settings->sync();
}

void SettingsStore::save(const QString& section,
                         const QList<std::pair<QString, QString>>& keysAndValues)
{
    for (const auto& [key, value] : keysAndValues) {
        m_settings->setValue(section + QLatin1Char('/') + key, value);
    }
    m_settings->sync();
}

double SettingsStore::getNumber(const QString& section, const QString& key,
                                double defaultValue) const
{
    return parseDecimal(get(section, key, QString())).value_or(defaultValue);
}

int SettingsStore::getIndex(const QString& section, const QString& key, int defaultValue,
                            int minimum, int maximum) const
{
    const auto value = parseDecimal(get(section, key, QString()));
    if (!value) return defaultValue;
    const double rounded = roundHalfEven(*value);
    if (rounded < minimum || rounded > maximum) return defaultValue;
    return static_cast<int>(rounded);
}

bool SettingsStore::getSwitch(const QString& section, const QString& key, bool defaultValue) const
{
    const auto value = parseDecimal(get(section, key, QString()));
    return value ? *value != 0.0 : defaultValue;
}
