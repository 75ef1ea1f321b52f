#pragma once

#include <QString>
#include <QTemporaryDir>

// Gives a test its own settings store and its own application folder, so tests never touch
// the user's settings or each other. Create it before anything reads a setting.
class TestEnvironment {
public:
    // `withDataFile`: copy the shipped vorle6.ini into the application folder.
    explicit TestEnvironment(bool withDataFile = true);

    // The application folder, ending with '/'.
    [[nodiscard]] QString appFolder() const;
    [[nodiscard]] QString configFolder() const { return m_config.path(); }
    // The settings file the store writes: <config>/VORLE/VORLE.conf.
    [[nodiscard]] QString settingsFile() const;
    [[nodiscard]] QString lockFilePath() const;

    // Puts the built translations into the application folder, where the program looks for
    // them, so that a test can start the window in English.
    void copyTranslations() const;
    // Replaces the application folder's data file with `text`, written as Shift_JIS.
    void writeDataFile(const QString& text) const;
    // Forgets every stored setting.
    void clearSettings() const;

private:
    QTemporaryDir m_config;
    QTemporaryDir m_app;
};
