#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QMenu;

// mnuFileRecent, the File menu's list of recent files: one entry per file, "&1 path" to
// "&8 path", named mnuFileRecent(0) to mnuFileRecent(7); a disabled "（履歴なし）" while the list
// is empty.
class RecentFilesMenu : public QObject {
    Q_OBJECT
public:
    using Opener = std::function<void(const QString&)>;

    RecentFilesMenu(QMenu& menu, Opener open, QObject* parent = nullptr);

    // Rebuilds the entries for `paths`, newest first.
    void show(const QStringList& paths);

private:
    QMenu& m_menu;
    Opener m_open;
};
