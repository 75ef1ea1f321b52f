#include "production/gui/ProductionCommand.h"

#include "link/SystemLinkFactory.h"
#include "production/gui/FrmProduction.h"

#include <QAction>
#include <QCloseEvent>
#include <QTimer>
#include <QWidget>

ProductionCommand::ProductionCommand(const ProductionControls& controls,
                                     const AppServices& services, QObject* parent)
    : QObject(parent), m_controls(controls), m_services(services)
{
    if (!m_services.links) {
        m_ownLinks = std::make_unique<SystemLinkFactory>();
        m_services.links = m_ownLinks.get();
    }
    connect(m_controls.mnuProduction, &QAction::triggered, this,
            &ProductionCommand::mnuProduction_Click);
    m_controls.owner->installEventFilter(this);
}

ProductionCommand::~ProductionCommand()
{
    if (m_controls.owner) m_controls.owner->removeEventFilter(this);
}

void ProductionCommand::mnuProduction_Click()
{
    if (!m_window) {
        m_window = new FrmProduction(m_services, *m_services.links, m_controls.owner);
        m_window->setAccessRunning(m_accessRunning);
        connect(m_window, &FrmProduction::roundRunningChanged, this,
                &ProductionCommand::roundRunningSwitched);
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

FrmProduction* ProductionCommand::window() const { return m_window; }

bool ProductionCommand::roundRunning() const { return m_window && m_window->roundRunning(); }

void ProductionCommand::setAccessRunning(bool running)
{
    m_accessRunning = running;
    if (m_window) m_window->setAccessRunning(running);
}

void ProductionCommand::roundRunningSwitched(bool running)
{
    emit roundRunningChanged(running);
    if (!running && m_closeOwnerAfterRound) {
        m_closeOwnerAfterRound = false;
        QTimer::singleShot(0, m_controls.owner, &QWidget::close);
    }
}

bool ProductionCommand::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_controls.owner && event->type() == QEvent::Close && roundRunning()) {
        // The main window waits for the round: the boards' threads and the round's records
        // must not be cut off by the program's end.
        m_closeOwnerAfterRound = m_window->closeAfterRound();
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
