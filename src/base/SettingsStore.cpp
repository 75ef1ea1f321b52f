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
    const QString path = section + QLatin1Char('/') + key;
    if (const auto held = m_heldForThisRun.constFind(path); held != m_heldForThisRun.cend()) {
        return *held;
    }
    const QVariant value = m_settings->value(path);
    return value.isValid() ? value.toString() : defaultValue;
}

void SettingsStore::save(const QString& section, const QString& key, const QString& value)
{
    save(section, {{key, value}});
}

void SettingsStore::save(const QString& section,
                         const QList<std::pair<QString, QString>>& keysAndValues)
{
    bool written = false;
    for (const auto& [key, value] : keysAndValues) {
        const QString path = section + QLatin1Char('/') + key;
        if (const auto held = m_heldForThisRun.find(path); held != m_heldForThisRun.end()) {
            *held = value;
            continue;
        }
        m_settings->setValue(path, value);
        written = true;
    }
    if (written) m_settings->sync();
}

void SettingsStore::holdForThisRun(const QString& section, const QString& key, const QString& value)
{
    m_heldForThisRun.insert(section + QLatin1Char('/') + key, value);
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
