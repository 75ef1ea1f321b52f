#pragma once

#include <QString>
#include <QStringList>

class SettingsStore;

// The files last opened or saved, newest first, at most eight, kept in the settings store
// (section "RecentFiles", keys "File1" .. "File8"; an unused key holds empty text). Every change
// is written at once, like every other setting.
class RecentFiles {
public:
    static constexpr int kMaximum = 8;

    explicit RecentFiles(SettingsStore& settings);

    [[nodiscard]] const QStringList& paths() const { return m_paths; }

    // Puts `path` first; an entry for the same file moves up, the oldest beyond eight goes.
    void add(const QString& path);
    // Takes the entry for `path` out of the list.
    void remove(const QString& path);

private:
    void store();

    SettingsStore& m_settings;
    QStringList m_paths;
};
