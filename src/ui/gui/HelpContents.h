#pragma once

#include <QString>

class DesktopOpener;
class UserDialogs;

// Help > Contents: hands the manual to the user's viewer. A build without a manual, or a
// manual that is not where the build put it, is reported with a message titled `ownerCaption`
// (the main window's caption); a viewer that cannot be started is reported under the
// application title.
void showHelpContents(const QString& helpFile, const QString& ownerCaption, UserDialogs& dialogs,
                      DesktopOpener& desktop);
