#include "files/gui/RecentFilesMenu.h"

#include <QAction>
#include <QDir>
#include <QMenu>

RecentFilesMenu::RecentFilesMenu(QMenu& menu, Opener open, QObject* parent)
    : QObject(parent), m_menu(menu), m_open(std::move(open))
{
}

void RecentFilesMenu::show(const QStringList& paths)
{
    // The entry that was chosen may be the one being replaced: deleted once its signal is done.
    for (QAction* action : m_menu.actions()) {
        m_menu.removeAction(action);
        action->deleteLater();
    }
    if (paths.isEmpty()) {
        m_menu.addAction(tr("（履歴なし）"))->setEnabled(false);
        return;
    }
    for (int i = 0; i < paths.size(); ++i) {
        const QString& path = paths.at(i);
        QString shown = QDir::toNativeSeparators(path);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = m_menu.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        action->setObjectName(QStringLiteral("mnuFileRecent(%1)").arg(i));
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, path] { m_open(path); });
    }
}
