#pragma once

#include "base/UiLanguage.h"

#include <QString>

#include <memory>
#include <vector>

class QTranslator;

// The translators of the window program for the language it runs in, installed before its
// first window. English: the program's own texts from translations/vorle6_en.qm beside the
// program (Qt's own texts, such as standard dialog buttons, are English already). Japanese:
// the program's texts are written in it; Qt's own texts come from Qt's Japanese translation.
// The translators stay installed while this object lives.
class ProgramTranslations {
public:
    ProgramTranslations();
    ~ProgramTranslations();
    ProgramTranslations(const ProgramTranslations&) = delete;
    ProgramTranslations& operator=(const ProgramTranslations&) = delete;

    // Installs the translations of `language` for the program in `appFolder` (ending with a
    // separator) in place of those this object installed before. False when one of them is
    // missing: the texts it would have translated stay as they are written (the program's in
    // Japanese, Qt's in English).
    bool install(UiLanguage language, const QString& appFolder);
    // Removes the translators this object installed.
    void remove();

    // The folder of the program's translation files: "translations/" in `appFolder`.
    [[nodiscard]] static QString folderIn(const QString& appFolder);
    // The base name of the program's translation file for `language` ("vorle6_en").
    [[nodiscard]] static QString fileBaseName(UiLanguage language);
    // Qt's own Japanese texts (qtbase_ja from Qt's translations folder), loaded but not
    // installed; none when they are not installed on this system.
    [[nodiscard]] static std::unique_ptr<QTranslator> qtJapanese();

private:
    std::vector<std::unique_ptr<QTranslator>> m_installed;
};
