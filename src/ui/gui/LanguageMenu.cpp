#include "ui/gui/LanguageMenu.h"

#include "base/ProductInfo.h"
#include "base/SettingsStore.h"
#include "base/UserDialogs.h"

#include <QAction>

LanguageMenu::LanguageMenu(const LanguageControls& controls, const AppServices& services,
                           QObject* parent)
    : QObject(parent), m_controls(controls), m_services(services)
{
    tick(storedLanguage(m_services.settings));
    connect(m_controls.mnuLanguageJa, &QAction::triggered, this,
            [this] { choose(UiLanguage::Japanese); });
    connect(m_controls.mnuLanguageEn, &QAction::triggered, this,
            [this] { choose(UiLanguage::English); });
}

void LanguageMenu::tick(UiLanguage language)
{
    m_controls.mnuLanguageJa->setChecked(language == UiLanguage::Japanese);
    m_controls.mnuLanguageEn->setChecked(language == UiLanguage::English);
}

void LanguageMenu::choose(UiLanguage language)
{
    tick(language);
    if (language == storedLanguage(m_services.settings)) return;
    storeLanguage(m_services.settings, language);
    MessageBoxRequest message;
    message.text = tr("言語の設定は次回の起動から使われます。");
    message.title = ProductInfo::kApplicationTitle;
    message.icon = MessageIcon::Information;
    m_services.dialogs.showMessage(message);
}
