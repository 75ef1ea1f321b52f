#pragma once

class QApplication;
class QCoreApplication;

// What the application object needs before the first window: the program icon and the desktop
// entry that the window belongs to. The texts follow the language chosen at start-up
// (ProgramTranslations).
namespace ApplicationSetup {

// The desktop entry's name, without ".desktop"; the installed icon carries it too.
inline constexpr const char* kDesktopId = "example.vorle.vorle6";

// Loads Qt's Japanese translations; false when they are not installed (Qt then stays English).
bool installJapaneseQtTranslations(QCoreApplication& application);

void apply(QApplication& application);

}  // namespace ApplicationSetup
