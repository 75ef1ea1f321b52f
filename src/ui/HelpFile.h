#pragma once

#include <QString>

// The program's manual, an HTML file installed beside the program. Its place is fixed when the
// program is built; the program holds no other help configuration.
namespace HelpFile {

// The manual's path relative to the program folder ("help/index.html"); empty for a build
// without a manual.
[[nodiscard]] QString relativePath();

// The manual's full path for the program folder `appFolder` (ending with a separator); empty
// when the build has no manual.
[[nodiscard]] QString pathIn(const QString& appFolder);

}  // namespace HelpFile
