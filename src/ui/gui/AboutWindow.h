#pragma once

#include "base/UiLanguage.h"

#include <QDialog>

class DesktopOpener;
class UserDialogs;
class QLabel;
class QPushButton;

// frmAbout: the version information. Its own load step fills the labels with the build's
// texts; start-up, which prepares the first one, puts its own texts over some of them. Closing
// the window discards it, so a later opening shows the load step's texts.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    AboutWindow(DesktopOpener& desktop, UserDialogs& dialogs, QWidget* parent = nullptr);

    // The program folder, where the support button finds the manual's support page.
    void setAppFolder(const QString& appFolder) { m_appFolder = appFolder; }
    // The language of the manual whose support page the window names and opens.
    void setLanguage(UiLanguage language) { m_language = language; }

    // Start-up: the version label, title, description and comments as the program reports them.
    void fillFromStartup();
    // Start-up: the comment line names the support page that the support button opens.
    void showSupportPageLine();
    // The data-file load: the data file's version line.
    void setDataFileVersion(const QString& version);

private:
    void Form_Load();
    void Command1_Click();
    void cmdOK_Click();

    DesktopOpener& m_desktop;
    UserDialogs& m_dialogs;
    QString m_appFolder;
    UiLanguage m_language = UiLanguage::Japanese;
    QLabel* m_title = nullptr;        // lblTitle
    QLabel* m_version = nullptr;      // lblVersion
    QLabel* m_description = nullptr;  // lblDescription
    QLabel* m_disclaimer = nullptr;   // lblDisclaimer
    QLabel* m_dataFile = nullptr;     // Label_vorle_rev
};
