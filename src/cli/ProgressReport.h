#pragma once

#include "cli/JobOrder.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>

#include <vector>

class QIODevice;

// Shows how far the boards have come, on standard error: a bar redrawn in place on a terminal
// (percentage, bytes, rate, time left; all boards together), or plain lines each time a board
// passes another 10 %, so a log file stays readable.
class ProgressReport : public QObject {
    Q_OBJECT
public:
    enum class Style { None, Bar, Lines };

    // `boardNames` in the order of the boards' indices.
    ProgressReport(QIODevice& errors, Style style, const QStringList& boardNames);

    // A board's progress (`phase` is a ChipStep).
    void update(int board, int phase, qint64 done, qint64 total);
    // Clears the bar, so that the lines after it start on an empty line.
    void finish();

    // One bar line: "write [#######.............]  35 %  2880/8192 bytes  1.6 KiB/s  0:03 left".
    // A rate of 0 leaves out the rate and the time left.
    [[nodiscard]] static QString barLine(const QString& label, qint64 done, qint64 total,
                                         double bytesPerSecond, double secondsLeft);

private:
    struct Board {
        ChipStep phase = ChipStep::Detect;
        qint64 done = 0;
        qint64 total = 0;
        int tenths = 0;  // the 10 % steps reported in the current phase
        QElapsedTimer phaseClock;
    };

    void drawBar(bool force);
    void writeLine(const QString& text);

    QIODevice& m_errors;
    Style m_style;
    QStringList m_names;
    std::vector<Board> m_boards;
    QElapsedTimer m_sinceDraw;
    int m_barWidth = 0;  // characters of the bar on screen, 0 when none
};
