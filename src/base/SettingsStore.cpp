#include "base/SettingsStore.h"

#include "base/NumberText.h"
#include "base/ProductInfo.h"

SettingsStore::SettingsStore()
    : m_settings(ProductInfo::kApplicationTitle, ProductInfo::kApplicationTitle)
{
}

QString SettingsStore::get(const QString& section, const QString& key,
                           const QString& defaultValue) const
{
    const QVariant value = m_settings.value(section + QLatin1Char('/') + key);
    return value.isValid() ? value.toString() : defaultValue;
}

void SettingsStore::save(const QString& section, const QString& key, const QString& value)
{
    m_settings.setValue(section + QLatin1Char('/') + key, value);
    m_settings.sync();
}

void SettingsStore::save(const QString& section,
                         const QList<std::pair<QString, QString>>& keysAndValues)
{
    for (const auto& [key, value] : keysAndValues) {
        m_settings.setValue(section + QLatin1Char('/') + key, value);
    }
    m_settings.sync();
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
