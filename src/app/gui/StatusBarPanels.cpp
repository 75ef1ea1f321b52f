#include "app/gui/StatusBarPanels.h"

#include <QLabel>
#include <QWidget>

#include <algorithm>

namespace {

// An empty panel still shows as a box of this width.
constexpr int kEmptyPanelWidth = 60;
constexpr int kAddressPanel = 2;  // panel 3: "ADDRESS:" and the address, or the percentage
const QString kWidestAddressText = QStringLiteral("ADDRESS:131071");

}  // namespace

StatusBarPanels::StatusBarPanels(const std::array<QLabel*, 4>& panels, QWidget* window)
    : m_panels(panels), m_window(window)
{
    for (int i = 0; i < 4; ++i) fit(i);
}

void StatusBarPanels::setText(int panel, const QString& text)
{
    if (panel < 1 || panel > 4) return;
    m_panels[panel - 1]->setText(text);
    fit(panel - 1);
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

int StatusBarPanels::widthToShow(const QLabel* label, const QString& text)
{
    const QFontMetrics metrics = label->fontMetrics();
    // A framed label without an indent of its own keeps the width of an "x" beside its text,
    // as QLabel's size hint does.
    int indent = label->indent();
    if (indent < 0) {
        indent = label->frameWidth() > 0
                     ? metrics.horizontalAdvance(QLatin1Char('x')) - 2 * label->margin()
                     : 0;
    }
    // The contents margins hold the frame.
    const QMargins margins = label->contentsMargins();
    return metrics.horizontalAdvance(text) + std::max(0, indent) + 2 * label->margin() +
           margins.left() + margins.right();
}

void StatusBarPanels::fit(int index)
{
    QLabel* panel = m_panels[index];
    panel->setToolTip(panel->text());
    if (index == 0) return;
    int width = std::max(kEmptyPanelWidth, widthToShow(panel, panel->text()));
    if (index == kAddressPanel) width = std::max(width, widthToShow(panel, kWidestAddressText));
    if (panel->width() != width || panel->minimumWidth() != width) panel->setFixedWidth(width);
}
