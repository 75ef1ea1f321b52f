#include "ui/gui/AuxiliaryWindows.h"

#include "base/SettingsStore.h"
#include "session/ProgramState.h"
#include "ui/HelpFile.h"
#include "ui/WindowPlacement.h"
#include "ui/gui/AboutWindow.h"
#include "ui/gui/BoardWindow.h"
#include "ui/gui/HelpContents.h"

#include <QAction>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QStyle>
#include <QTableView>

AuxiliaryWindows::AuxiliaryWindows(QMainWindow& mainWindow, const AuxiliaryControls& controls,
                                   const AppServices& services)
    : m_mainWindow(mainWindow), m_controls(controls), m_services(services)
{
    connect(m_controls.mnuBoardInfomation, &QAction::triggered, this,
            &AuxiliaryWindows::mnuBoardInfomation_Click);
    connect(m_controls.mnuHelpContents, &QAction::triggered, this,
            &AuxiliaryWindows::mnuHelpContents_Click);
    connect(m_controls.mnuHelpAbout, &QAction::triggered, this,
            &AuxiliaryWindows::mnuHelpAbout_Click);
}

AuxiliaryWindows::~AuxiliaryWindows() = default;

BoardWindow* AuxiliaryWindows::boardWindow() const { return m_board; }

AboutWindow* AuxiliaryWindows::aboutWindow() const { return m_about; }

void AuxiliaryWindows::adoptAboutWindow(std::unique_ptr<AboutWindow> window)
{
    delete m_about;
    m_about = window.release();
    if (m_about) m_about->setParent(&m_mainWindow, m_about->windowFlags());
}

void AuxiliaryWindows::showBoardIfTicked()
{
    if (m_controls.mnuBoardInfomation->isChecked()) showBoard();
}

void AuxiliaryWindows::mnuBoardInfomation_Click(bool ticked)
{
    using namespace SettingsKeys;
    if (!ticked) {
        m_services.settings.save(kSettings6, kBoardInfomation, QStringLiteral("False"));
        // After the close box has discarded the window there is nothing left to hide.
        if (m_board) m_board->hide();
        return;
    }
    m_services.settings.save(kSettings6, kBoardInfomation, QStringLiteral("True"));
    showBoard();
    m_mainWindow.activateWindow();
}

void AuxiliaryWindows::showBoard()
{
    if (!m_board) {
        m_board = new BoardWindow(&m_mainWindow);
        placeBoard();
    }
    m_board->show();
}

// Beside the main window where the screen has room, else over the lower left of the grid:
// never over the buttons and the byte editor.
void AuxiliaryWindows::placeBoard()
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen == QGuiApplication::primaryScreen()) {
            areas.prepend(screen->availableGeometry());
        } else {
            areas.append(screen->availableGeometry());
        }
    }
    const QRect owner = m_mainWindow.frameGeometry();
    const QWidget* grid = m_controls.MSFGrid1;
    const QRect coverable(grid->mapToGlobal(QPoint(0, 0)), grid->size());
    // The board window's frame is not known before it is shown: allow for a title bar.
    const int titleBar = m_board->style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QSize frame = m_board->size() + QSize(0, titleBar);
    const QRect place = WindowPlacement::besideOwner(frame, owner, coverable,
                                                     WindowPlacement::areaFor(owner, areas));
    m_board->move(place.topLeft());
}

void AuxiliaryWindows::mnuHelpContents_Click()
{
    showHelpContents(HelpFile::pathIn(m_services.state.appFolder, m_services.state.language),
                     m_mainWindow.windowTitle(), m_services.dialogs, m_services.desktop);
}

// Modal without blocking the caller: the window takes the input until it is closed.
void AuxiliaryWindows::mnuHelpAbout_Click()
{
    if (!m_about) {
        m_about = new AboutWindow(m_services.desktop, m_services.dialogs, &m_mainWindow);
        m_about->setAppFolder(m_services.state.appFolder);
        m_about->setLanguage(m_services.state.language);
    }
    m_about->setWindowModality(Qt::ApplicationModal);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}
