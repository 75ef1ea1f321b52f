#include "app/gui/Startup.h"

#include "app/gui/DemoRun.h"
#include "app/gui/FileHandoff.h"
#include "app/gui/MainWindow.h"
#include "app/gui/QtDesktopOpener.h"
#include "app/gui/QtUserDialogs.h"
#include "base/FileExists.h"
#include "base/ProductInfo.h"
#include "base/UserDialogs.h"
#include "devices/CatalogueLoad.h"
#include "devices/gui/DevicePanel.h"
#include "devices/gui/DeviceTexts.h"
#include "files/gui/FileWriteTexts.h"
#include "image/ListingPath.h"
#include "image/gui/ImageView.h"
#include "ui/gui/AboutWindow.h"
#include "ui/gui/AuxiliaryWindows.h"
#include "ui/gui/SplashWindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QUrl>

#include <utility>

Startup::Startup(Environment environment)
    : m_environment(std::move(environment)), m_instanceLock(m_environment.lockFilePath)
{
    if (m_environment.dialogs) {
        m_dialogs = m_environment.dialogs;
    } else {
        m_ownDialogs = std::make_unique<QtUserDialogs>();
        m_dialogs = m_ownDialogs.get();
    }
    if (m_environment.desktop) {
        m_desktop = m_environment.desktop;
    } else {
        m_ownDesktop = std::make_unique<QtDesktopOpener>();
        m_desktop = m_ownDesktop.get();
    }
}

Startup::~Startup() { delete m_splash; }

AppServices Startup::services()
{
    return AppServices{m_state,
                       m_settings,
                       *m_dialogs,
                       *m_desktop,
                       m_environment.port,
                       m_environment.clock,
                       m_environment.links};
}

SplashWindow* Startup::splashWindow() const { return m_splash; }

QString Startup::appFolderOf(const QString& folder)
{
    QString result = QDir::cleanPath(QDir(folder).absolutePath());
    if (!result.endsWith(QLatin1Char('/'))) result += QLatin1Char('/');
    return result;
}

namespace {

// The command-line option that chooses the window's language for one run.
const QString kLanguageOption = QStringLiteral("--lang");

}  // namespace

bool Startup::run()
{
    // Before the first window: every text is translated when its window is built.
    m_state.language = m_environment.language.value_or(storedLanguage(m_settings));
    if (!m_translations.install(m_state.language, appFolderOf(m_environment.appFolder)) &&
        m_state.language != UiLanguage::Japanese) {
        qWarning().noquote() << "vorle6: no translation"
                             << ProgramTranslations::fileBaseName(m_state.language) + ".qm in"
                             << ProgramTranslations::folderIn(appFolderOf(m_environment.appFolder))
                             << "- the window stays in Japanese";
    }
    m_splash = new SplashWindow;
    m_splash->show();
    const QString handoffName = FileHandoff::serverNameFor(m_environment.lockFilePath);
    if (!m_instanceLock.acquire()) {
        // The running copy takes the file and comes to the front; this one ends either way.
        if (!FileHandoff::handOver(handoffName, m_environment.fileToLoad)) {
            qWarning("vorle6: the running copy did not take the file");
        }
        return false;
    }
    m_handoff = std::make_unique<FileHandoff>(handoffName);
    QObject::connect(m_handoff.get(), &FileHandoff::fileHanded, m_handoff.get(),
                     [this](const QString& path) { takeHandedFile(path); });
    static_cast<void>(m_handoff->listen());

    m_aboutWindow = std::make_unique<AboutWindow>(*m_desktop, *m_dialogs);
    m_aboutWindow->setLanguage(m_state.language);
    m_aboutWindow->fillFromStartup();

    QDir::setCurrent(m_environment.appFolder);
    m_state.appFolder = appFolderOf(m_environment.appFolder);
    QCoreApplication::processEvents();
    m_aboutWindow->setAppFolder(m_state.appFolder);
    m_aboutWindow->showSupportPageLine();

    if (!FileExists(m_state.appFolder + QStringLiteral("vorle6.ini"))) {
        MessageBoxRequest message;
        message.text =
            m_state.appFolder +
            QCoreApplication::translate("Startup",
                                        "内に vorle6.iniファイルがありませんので         \r\n"
                                        "シリアルＥＥＰＲＯＭプログラマーの起動を中止しました。");
        message.title = ProductInfo::kMessageTitle;
        message.icon = MessageIcon::Critical;
        m_dialogs->showMessage(message);
        return false;
    }

    for (const SetAsideFile& file : m_settings.setAsideFiles()) {
        m_notices.append(settingsSetAsideText(file));
    }
    for (const SetAsideFile& file : setAsideSpecialListings(m_state.appFolder)) {
        m_notices.append(listingSetAsideText(file));
    }
    loadDataFile();
    if (m_environment.demo) {
        m_demo = std::make_unique<DemoRun>(m_state, m_settings);
        const QString problem = m_demo->start(*m_mainWindow);
        if (!problem.isEmpty()) m_notices.append(problem);
    }
    QCoreApplication::processEvents();
    m_mainWindow->controls().DataCombo1->hide();
    m_mainWindow->show();
    // The device selection ran under Updating: the byte editor is loaded only now.
    m_mainWindow->imageView().MSFGrid1_Click();
    if (m_splash) m_splash->hide();
    QCoreApplication::processEvents();
    m_auxiliaryWindows->showBoardIfTicked();
    showNotices();
    m_started = true;
    if (!m_environment.fileToLoad.isEmpty()) {
        m_mainWindow->openFileFromOutside(m_environment.fileToLoad);
    }
    for (const QString& path : std::exchange(m_handedBeforeWindow, {})) {
        m_mainWindow->openFileFromOutside(path);
    }
    return true;
}

void Startup::takeHandedFile(const QString& path)
{
    if (!m_started) {
        m_handedBeforeWindow.append(path);
        return;
    }
    m_mainWindow->openFileFromOutside(path);
}

QString Startup::fileFromArguments(const QStringList& arguments, const QString& currentFolder)
{
    bool options = true;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (options && argument == u"--") {
            options = false;
            continue;
        }
        if (options && argument == kLanguageOption) {
            ++i;
            continue;
        }
        if (argument.isEmpty() || (options && argument.startsWith(u'-'))) continue;
        if (argument.startsWith(QStringLiteral("file:"))) {
            const QString local = QUrl(argument).toLocalFile();
            if (!local.isEmpty()) return QDir::cleanPath(local);
            continue;
        }
        return QDir::cleanPath(QDir(currentFolder).absoluteFilePath(argument));
    }
    return {};
}

std::optional<UiLanguage> Startup::languageFromArguments(const QStringList& arguments)
{
    const QString withValue = kLanguageOption + QLatin1Char('=');
    std::optional<QString> code;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == u"--") break;
        if (argument == kLanguageOption) {
            code = arguments.value(++i);
        } else if (argument.startsWith(withValue)) {
            code = argument.mid(withValue.size());
        }
    }
    if (!code) return std::nullopt;
    const std::optional<UiLanguage> language = languageFromCode(*code);
    if (!language) {
        qWarning().noquote() << "vorle6: --lang takes ja or en, not" << *code;
    }
    return language;
}

void Startup::loadDataFile()
{
    const CatalogueLoad load = loadCatalogue(m_state.appFolder + QStringLiteral("vorle6.ini"));
    m_notices.append(catalogueNotices(load));
    m_state.dataFileVersion = load.version;
    m_state.catalogue = load.catalogue;

    const QString titleText = ProductInfo::titleText();
    m_mainWindow = std::make_unique<MainWindow>(services());
    if (m_ownDialogs) static_cast<QtUserDialogs*>(m_ownDialogs.get())->setOwner(m_mainWindow.get());
    m_mainWindow->Form_Load();
    m_mainWindow->setWindowTitle(titleText + QStringLiteral("  vorle6.ini ") +
                                 m_state.dataFileVersion);
    m_aboutWindow->setDataFileVersion(m_state.dataFileVersion);
    m_auxiliaryWindows = std::make_unique<AuxiliaryWindows>(
        *m_mainWindow, m_mainWindow->controls().auxiliary(), services());
    m_auxiliaryWindows->adoptAboutWindow(std::move(m_aboutWindow));

    ImageView& imageView = m_mainWindow->imageView();
    imageView.setUpdating(true);
    m_mainWindow->devicePanel().fillDeviceList(m_notices);
    imageView.setUpdating(false);
}

void Startup::showNotices()
{
    if (m_notices.isEmpty()) return;
    MessageBoxRequest message;
    message.title = ProductInfo::kMessageTitle;
    message.icon = MessageIcon::Warning;
    message.text = m_notices.join(QStringLiteral("\r\n"));
    m_dialogs->showMessage(message);
}
