#pragma once

#include <QString>

// The main window's status bar as the logic sees it: four text panels, numbered 1 to 4.
//   1 the operation in progress and its outcome
//   2 port and programmer board identification
//   3 progress percentage, or "ADDRESS:" with the selected byte's address
//   4 the selected device's note
class StatusPanels {
public:
    virtual ~StatusPanels() = default;
    virtual void setText(int panel, const QString& text) = 0;
    [[nodiscard]] virtual QString text(int panel) const = 0;
};
