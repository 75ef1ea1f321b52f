#pragma once

#include "base/BusyIndicator.h"
#include "base/StatusPanels.h"

#include <array>

class QLabel;
class QWidget;

// The main window's four status panels and its mouse pointer, for the logic.
//
// Panels 2 to 4 are as wide as their texts (panel 3 at least as wide as its widest text, so
// that it keeps still while the address changes); panel 1 takes what is left of the bar. Each
// panel's whole text is also its tool tip, for a panel 1 that a narrow window cuts short.
class StatusBarPanels : public StatusPanels, public BusyIndicator {
public:
    StatusBarPanels(const std::array<QLabel*, 4>& panels, QWidget* window);

    void setText(int panel, const QString& text) override;
    [[nodiscard]] QString text(int panel) const override;
    void setBusy(bool busy) override;

    // The width that `label` needs to show `text` whole, frame and indent included.
    [[nodiscard]] static int widthToShow(const QLabel* label, const QString& text);

private:
    void fit(int index);

    std::array<QLabel*, 4> m_panels;
    QWidget* m_window;
};
