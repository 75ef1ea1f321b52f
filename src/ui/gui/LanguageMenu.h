#pragma once

#include "app/AppServices.h"
#include "base/UiLanguage.h"

#include <QObject>

struct MainWindowControls;

// Options > Language / 言語 (mnuLanguage): the tick shows the language the user chose, which
// the window takes at its next start; choosing another stores it as Language in [Settings6] and
// says that it applies from the next start. The running window keeps its language.
class LanguageMenu : public QObject {
    Q_OBJECT
public:
    LanguageMenu(MainWindowControls& controls, const AppServices& services,
                 QObject* parent = nullptr);

private:
    void choose(UiLanguage language);
    void tick(UiLanguage language);

    MainWindowControls& m_controls;
    AppServices m_services;
};
