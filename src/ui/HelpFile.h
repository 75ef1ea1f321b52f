#pragma once

#include "base/UiLanguage.h"

#include <QString>

// The program's manual, HTML pages installed beside the program: the Japanese manual in the
// manual's folder, the English one in its "en" subfolder. Its place is fixed when the program
// is built; the program holds no other help configuration.
namespace HelpFile {

// The manual's path relative to the program folder: "help/index.html", and for English
// "help/en/index.html"; empty for a build without a manual.
[[nodiscard]] QString relativePath(UiLanguage language = UiLanguage::Japanese);

// The manual's full path for the program folder `appFolder` (ending with a separator); empty
// when the build has no manual.
[[nodiscard]] QString pathIn(const QString& appFolder, UiLanguage language = UiLanguage::Japanese);

}  // namespace HelpFile
