#pragma once

#include "base/SpecialFile.h"

#include <QHash>
#include <QList>
#include <QSettings>
#include <QString>

#include <memory>
#include <utility>

class QTemporaryDir;

// The per-user settings store: text values addressed by section and key, under the
// application name "VORLE". On Linux this is the INI file VORLE/VORLE.conf in the user's
// configuration folder ($XDG_CONFIG_HOME, else ~/.config).
//
// Values are written through to disk at once, so a setting the user changed survives a crash.
//
// A settings file that is not a regular file (a named pipe, a device) would keep the first read
// waiting for ever: before reading, it is set aside (renamed) and the store starts empty. Should
// it not be movable, the store keeps this run's settings in a file of its own that is dropped at
// the end.
class SettingsStore {
public:
    SettingsStore();
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The settings files found not to be regular files when this store was made.
    [[nodiscard]] const QList<SetAsideFile>& setAsideFiles() const { return m_setAside; }

    // The stored text, or `defaultValue` when the key was never written.
    [[nodiscard]] QString get(const QString& section, const QString& key,
                              const QString& defaultValue) const;
    void save(const QString& section, const QString& key, const QString& value);
    // Writes several keys of `section` and puts them on disk together.
    void save(const QString& section, const QList<std::pair<QString, QString>>& keysAndValues);

    // For the rest of this store's life `key` of `section` reads `value`, and saving it changes
    // only what this run reads: the file keeps the user's own value. A run that borrows a setting
    // (the demo board's port) leaves the user's settings as they were.
    void holdForThisRun(const QString& section, const QString& key, const QString& value);

    // The stored value as a number; a value that is not a number gives `defaultValue`.
    [[nodiscard]] double getNumber(const QString& section, const QString& key,
                                   double defaultValue) const;
    // The stored value rounded to a whole number (half to even); not a number, or outside
    // [minimum, maximum]: `defaultValue`.
    [[nodiscard]] int getIndex(const QString& section, const QString& key, int defaultValue,
                               int minimum, int maximum) const;
    // Line switches: "on" when the numeric value is not 0. Not a number: `defaultValue`.
    [[nodiscard]] bool getSwitch(const QString& section, const QString& key,
                                 bool defaultValue) const;

private:
    QList<SetAsideFile> m_setAside;
    std::unique_ptr<QTemporaryDir> m_stopGap;  // holds the settings when a file stayed in the way
    std::unique_ptr<QSettings> m_settings;
    QHash<QString, QString> m_heldForThisRun;  // "section/key" -> value
};

namespace SettingsKeys {
inline const QString kSettings = QStringLiteral("Settings");
inline const QString kSettings6 = QStringLiteral("Settings6");

inline const QString kMainLeft = QStringLiteral("MainLeft");
inline const QString kMainTop = QStringLiteral("MainTop");
inline const QString kDut = QStringLiteral("DUT");
inline const QString kAccessSize = QStringLiteral("AccessSize");
inline const QString kComNo = QStringLiteral("ComNo");
inline const QString kRts = QStringLiteral("RTS");
inline const QString kDtr = QStringLiteral("DTR");
inline const QString kSaveDir = QStringLiteral("SAVE_DIR");
inline const QString kOpenDir = QStringLiteral("OPEN_DIR0");
inline const QString kBoardInfomation = QStringLiteral("mnuBoardInfomation");
inline const QString kVerifyAfterWrite = QStringLiteral("VerifyAfterWrite");
inline const QString kReadTwice = QStringLiteral("ReadTwice");
inline const QString kBackupBeforeWrite = QStringLiteral("BackupBeforeWrite");
inline const QString kWriteChangedOnly = QStringLiteral("WriteChangedOnly");
inline const QString kLanguage = QStringLiteral("Language");  // "ja" or "en"
}  // namespace SettingsKeys
