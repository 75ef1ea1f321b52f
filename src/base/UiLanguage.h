#pragma once

#include <QString>

#include <optional>

class SettingsStore;

// The language of the window program's texts. Japanese, the language its texts are written
// in, is the default; English comes from a translation installed beside the program.
enum class UiLanguage { Japanese, English };

// "ja" or "en": the value stored as Language in [Settings6] and given to --lang.
[[nodiscard]] QString languageCode(UiLanguage language);

// The language of a code ("ja", "en"; case and blanks around it do not matter); none for
// any other text.
[[nodiscard]] std::optional<UiLanguage> languageFromCode(const QString& code);

// The language the user chose for the window; Japanese when none was chosen or the stored
// value is not understood.
[[nodiscard]] UiLanguage storedLanguage(const SettingsStore& settings);
void storeLanguage(SettingsStore& settings, UiLanguage language);
