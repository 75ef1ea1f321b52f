#pragma once

#include "base/BusyIndicator.h"
#include "base/StatusPanels.h"

#include <array>

class QLabel;
class QWidget;

// The main window's four status panels and its mouse pointer, for the logic.
class StatusBarPanels : public StatusPanels, public BusyIndicator {
public:
    StatusBarPanels(const std::array<QLabel*, 4>& panels, QWidget* window);

    void setText(int panel, const QString& text) override;
    [[nodiscard]] QString text(int panel) const override;
    void setBusy(bool busy) override;

private:
    std::array<QLabel*, 4> m_panels;
    QWidget* m_window;
};
