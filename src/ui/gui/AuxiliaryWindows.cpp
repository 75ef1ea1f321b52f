#include "ui/gui/AuxiliaryWindows.h"

#include "app/ProgramState.h"
#include "app/gui/MainWindowControls.h"
#include "base/SettingsStore.h"
#include "ui/HelpContents.h"
#include "ui/HelpFile.h"
#include "ui/gui/AboutWindow.h"
#include "ui/gui/BoardWindow.h"

#include <QAction>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>

AuxiliaryWindows::AuxiliaryWindows(QMainWindow& mainWindow, MainWindowControls& controls,
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
        // Beside the main window's right edge while the screen has room there, else inside it.
        const QRect main = m_mainWindow.frameGeometry();
        QPoint place(main.right() + 8, main.top());
        if (const QScreen* screen = m_mainWindow.screen()) {
            const QRect area = screen->availableGeometry();
            if (place.x() + m_board->width() > area.right()) {
                place.setX(qMax(area.left(), main.right() - m_board->width() - 24));
                place.setY(main.top() + 80);
            }
        }
        m_board->move(place);
    }
    m_board->show();
}

void AuxiliaryWindows::mnuHelpContents_Click()
{
    showHelpContents(HelpFile::pathIn(m_services.state.appFolder), m_mainWindow.windowTitle(),
                     m_services.dialogs, m_services.desktop);
}

// Modal without blocking the caller: the window takes the input until it is closed.
void AuxiliaryWindows::mnuHelpAbout_Click()
{
    if (!m_about) m_about = new AboutWindow(m_services.desktop, &m_mainWindow);
    m_about->setWindowModality(Qt::ApplicationModal);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}
