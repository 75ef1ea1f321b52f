#include "base/UiLanguage.h"

#include "base/SettingsStore.h"

QString languageCode(UiLanguage language)
{
    return language == UiLanguage::English ? QStringLiteral("en") : QStringLiteral("ja");
}

std::optional<UiLanguage> languageFromCode(const QString& code)
{
    const QString normalised = code.trimmed().toLower();
    if (normalised == u"ja") return UiLanguage::Japanese;
    if (normalised == u"en") return UiLanguage::English;
    return std::nullopt;
}

UiLanguage storedLanguage(const SettingsStore& settings)
{
    using namespace SettingsKeys;
    return languageFromCode(settings.get(kSettings6, kLanguage, QString()))
        .value_or(UiLanguage::Japanese);
}

void storeLanguage(SettingsStore& settings, UiLanguage language)
{
    settings.save(SettingsKeys::kSettings6, SettingsKeys::kLanguage, languageCode(language));
}
