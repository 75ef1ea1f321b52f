#include "cli/ProgressReport.h"

#include <QIODevice>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kBarCells = 24;
constexpr qint64 kRedrawMilliseconds = 100;
constexpr int kLineWidth = 79;

QString rateText(double bytesPerSecond)
{
    if (bytesPerSecond >= 1024.0 * 1024.0) {
        return QStringLiteral("%1 MiB/s").arg(bytesPerSecond / (1024.0 * 1024.0), 0, 'f', 1);
    }
    if (bytesPerSecond >= 1024.0) {
        return QStringLiteral("%1 KiB/s").arg(bytesPerSecond / 1024.0, 0, 'f', 1);
    }
    return QStringLiteral("%1 B/s").arg(bytesPerSecond, 0, 'f', 0);
}

QString durationText(double seconds)
{
    const auto whole = static_cast<qint64>(std::ceil(std::max(seconds, 0.0)));
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

ProgressReport::ProgressReport(QIODevice& errors, Style style, const QStringList& boardNames)
    : m_errors(errors),
      m_style(style),
      m_names(boardNames),
      m_boards(static_cast<std::size_t>(boardNames.size()))
{
    for (Board& board : m_boards) board.phaseClock.start();
}

QString ProgressReport::barLine(const QString& label, qint64 done, qint64 total,
                                double bytesPerSecond, double secondsLeft)
{
    const double fraction = total > 0 ? std::clamp(double(done) / double(total), 0.0, 1.0) : 0.0;
    const int filled = static_cast<int>(fraction * kBarCells);
    QString line = QStringLiteral("%1 [%2%3] %4 %  %5/%6 bytes")
                       .arg(label, QString(filled, QLatin1Char('#')),
                            QString(kBarCells - filled, QLatin1Char('.')))
                       .arg(static_cast<int>(fraction * 100), 3)
                       .arg(done)
                       .arg(total);
    if (bytesPerSecond > 0) {
        line += QStringLiteral("  %1  %2 left")
                    .arg(rateText(bytesPerSecond), durationText(secondsLeft));
    }
    return line;
}

void ProgressReport::update(int board, int phase, qint64 done, qint64 total)
{
    if (m_style == Style::None || board < 0 || board >= static_cast<int>(m_boards.size())) return;
    Board& state = m_boards[static_cast<std::size_t>(board)];
    const auto newPhase = static_cast<ChipStep>(phase);
    if (newPhase != state.phase || done < state.done) {
        state.phase = newPhase;
        state.tenths = 0;
        state.phaseClock.restart();
    }
    state.done = done;
    state.total = total;

    if (m_style == Style::Bar) {
        drawBar(done >= total);
        return;
    }
    const int tenths = total > 0 ? static_cast<int>(done * 10 / total) : 10;
    if (tenths <= state.tenths) return;
    state.tenths = tenths;
    writeLine(QStringLiteral("%1: %2 %3 % (%4 of %5 bytes)\n")
                  .arg(m_names.value(board), chipStepName(state.phase))
                  .arg(tenths * 10)
                  .arg(done)
                  .arg(total));
}

void ProgressReport::drawBar(bool force)
{
    if (!force && m_sinceDraw.isValid() && m_sinceDraw.elapsed() < kRedrawMilliseconds) return;
    m_sinceDraw.start();

    qint64 done = 0;
    qint64 total = 0;
    double rate = 0;
    double left = 0;
    QStringList phases;
    for (const Board& board : m_boards) {
        done += board.done;
        total += board.total;
        const QString phase = chipStepName(board.phase);
        if (!phases.contains(phase)) phases.append(phase);
        const double seconds = double(board.phaseClock.elapsed()) / 1000.0;
        if (seconds <= 0 || board.done <= 0) continue;
        const double boardRate = double(board.done) / seconds;
        rate += boardRate;
        left = std::max(left, double(board.total - board.done) / boardRate);
    }
    QString label = phases.join(QLatin1Char('/'));
    if (m_boards.size() > 1) label = QStringLiteral("%1 boards %2").arg(m_boards.size()).arg(label);
    const QString line = barLine(label, done, total, rate, left).left(kLineWidth);
    const int width = static_cast<int>(line.size());
    writeLine(QLatin1Char('\r') + line +
              QString(std::max(0, m_barWidth - width), QLatin1Char(' ')));
    m_barWidth = width;
}

void ProgressReport::finish()
{
    if (m_barWidth == 0) return;
    writeLine(QLatin1Char('\r') + QString(m_barWidth, QLatin1Char(' ')) + QLatin1Char('\r'));
    m_barWidth = 0;
}

void ProgressReport::writeLine(const QString& text) { m_errors.write(text.toUtf8()); }
