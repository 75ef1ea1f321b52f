#pragma once

#include "jobs/ChipStep.h"

#include <QFrame>

class QLabel;
class QProgressBar;

// One board of the production window: its port, a large pass/fail display that can be read
// from across the bench, the running step's progress and a line on how its last round ended.
// The controls are named with the board's index: Lbl_Verdict(0), PrgBoard(0), ...
class BoardDisplay : public QFrame {
    Q_OBJECT
public:
    BoardDisplay(int index, const QString& portText, QWidget* parent = nullptr);

    // Before the first round.
    void showIdle();
    // The round has begun: no verdict yet.
    void showRunning();
    void showProgress(ChipStep step, qint64 done, qint64 total);
    // The numbers the chip was given.
    void showNumbers(const QString& serialsText);
    void showVerdict(bool passed, const QString& detail);

    [[nodiscard]] QString verdict() const;
    [[nodiscard]] QString detail() const;

private:
    void setVerdict(const QString& text, const QString& style);

    QLabel* m_port = nullptr;
    QLabel* m_verdict = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_detail = nullptr;
};
