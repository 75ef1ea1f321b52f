#pragma once

#include "base/UiLanguage.h"

#include <QString>

class DesktopOpener;
class UserDialogs;

// The support page that the about window's support button opens: a page of the manual beside
// the program, so that it is there without a network and always matches the program.
namespace SupportPage {

// The page's full path for the program folder `appFolder` (ending with a separator), in the
// manual of `language`; empty for a build without a manual.
[[nodiscard]] QString pathIn(const QString& appFolder, UiLanguage language = UiLanguage::Japanese);

// Opens the page in the user's browser. A page that is not there, or a browser that cannot be
// started, is reported with the page's path.
void open(const QString& appFolder, UserDialogs& dialogs, DesktopOpener& desktop,
          UiLanguage language = UiLanguage::Japanese);

}  // namespace SupportPage
