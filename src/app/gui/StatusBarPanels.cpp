#include "app/gui/StatusBarPanels.h"

#include <QLabel>
#include <QWidget>

StatusBarPanels::StatusBarPanels(const std::array<QLabel*, 4>& panels, QWidget* window)
    : m_panels(panels), m_window(window)
{
}

void StatusBarPanels::setText(int panel, const QString& text)
{
    if (panel >= 1 && panel <= 4) m_panels[panel - 1]->setText(text);
}

QString StatusBarPanels::text(int panel) const
{
    return panel >= 1 && panel <= 4 ? m_panels[panel - 1]->text() : QString();
}

void StatusBarPanels::setBusy(bool busy)
{
    if (busy) {
        m_window->setCursor(Qt::WaitCursor);
    } else {
        m_window->unsetCursor();
    }
}
