#pragma once

#include "production/gui/ProductionControls.h"
#include "session/AppServices.h"

#include <QObject>
#include <QPointer>

#include <memory>

class FrmProduction;
class LinkFactory;

// Opens the production window from the main window's menu, one at a time (a second choice
// brings it to the front), and stands between the two windows: while a round runs it says so
// (roundRunningChanged) for the main window to hold off its commands that reach the chip, while
// the main window's own access runs no round starts, and a close of the main window during a
// round asks first and closes it once the round has ended and been recorded.
class ProductionCommand : public QObject {
    Q_OBJECT
public:
    ProductionCommand(const ProductionControls& controls, const AppServices& services,
                      QObject* parent = nullptr);
    ~ProductionCommand() override;

    void mnuProduction_Click();

    // The window while it is open.
    [[nodiscard]] FrmProduction* window() const;
    [[nodiscard]] bool roundRunning() const;
    // The main window runs a command that reaches the chip.
    void setAccessRunning(bool running);

signals:
    void roundRunningChanged(bool running);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void roundRunningSwitched(bool running);

    ProductionControls m_controls;
    AppServices m_services;
    std::unique_ptr<LinkFactory> m_ownLinks;
    QPointer<FrmProduction> m_window;
    bool m_accessRunning = false;
    bool m_closeOwnerAfterRound = false;
};
