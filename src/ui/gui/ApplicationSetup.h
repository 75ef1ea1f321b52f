#pragma once

class QApplication;
class QCoreApplication;

// What the application object needs before the first window: Qt's own texts (standard dialog
// buttons and the like) in Japanese like the rest of the program, the program icon and the
// desktop entry that the window belongs to.
namespace ApplicationSetup {

// The desktop entry's name, without ".desktop"; the installed icon carries it too.
inline constexpr const char* kDesktopId = "example.vorle.vorle6";

// Loads Qt's Japanese translations; false when they are not installed (Qt then stays English).
bool installJapaneseQtTranslations(QCoreApplication& application);

void apply(QApplication& application);

}  // namespace ApplicationSetup
