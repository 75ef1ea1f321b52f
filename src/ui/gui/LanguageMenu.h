#pragma once

#include "base/UiLanguage.h"
#include "session/AppServices.h"

#include <QObject>

class QAction;

// Language / 言語 in the Options menu: its two choices.
struct LanguageControls {
    QAction* mnuLanguageJa = nullptr;
    QAction* mnuLanguageEn = nullptr;
};

// Options > Language / 言語 (mnuLanguage): the tick shows the language the user chose, which
// the window takes at its next start; choosing another stores it as Language in [Settings6] and
// says that it applies from the next start. The running window keeps its language.
class LanguageMenu : public QObject {
    Q_OBJECT
public:
    LanguageMenu(const LanguageControls& controls, const AppServices& services,
                 QObject* parent = nullptr);

private:
    void choose(UiLanguage language);
    void tick(UiLanguage language);

    LanguageControls m_controls;
    AppServices m_services;
};
