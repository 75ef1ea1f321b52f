#include "link/gui/AccessTimeEstimate.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 kSecondsPerMinute = 60;
constexpr qint64 kSecondsPerHour = 3600;

}  // namespace

QString AccessTimeEstimate::text(LinkClock::Duration now, qint64 done, qint64 total) const
{
    const LinkClock::Duration elapsed = std::max(now - m_start, LinkClock::Duration{0});
    const qint64 elapsedSeconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
    QString text =
        QCoreApplication::translate("AccessTimeEstimate", "経過 ") + clockText(elapsedSeconds);
    if (done <= 0 || total <= 0) return text;
    const qint64 left = std::max<qint64>(total - done, 0);
    // Whole seconds up, so that "0:00" is left only at the end.
    const double remaining = std::chrono::duration<double>(elapsed).count() *
                             static_cast<double>(left) / static_cast<double>(done);
    const auto remainingSeconds = static_cast<qint64>(std::ceil(remaining));
    return text + QCoreApplication::translate("AccessTimeEstimate", " / 残り ") +
           clockText(remainingSeconds);
}

QString AccessTimeEstimate::clockText(qint64 seconds)
{
    const qint64 hours = seconds / kSecondsPerHour;
    const qint64 minutes = seconds % kSecondsPerHour / kSecondsPerMinute;
    const QString secondsText =
        QStringLiteral("%1").arg(seconds % kSecondsPerMinute, 2, 10, QLatin1Char('0'));
    if (hours == 0) return QStringLiteral("%1:%2").arg(minutes).arg(secondsText);
    return QStringLiteral("%1:%2:%3")
        .arg(hours)
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(secondsText);
}
