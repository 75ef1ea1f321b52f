#include "link/gui/PortDeviceSummary.h"

#include "link/PortDevices.h"
#include "link/SerialDevices.h"
#include "link/gui/PortTexts.h"

#include <QStringList>

namespace {

// Bytes from a device that is not the board, shown as text without control characters.
QString printable(const QString& text)
{
    QString result;
    for (const QChar c : text) result += c.isPrint() ? c : QLatin1Char('.');
    return result;
}

}  // namespace

QString PortDeviceSummary::text() const
{
    using namespace PortTexts;
    QStringList lines;

    QString pathLine = devicePath;
    const QString node = SerialDevices::resolved(devicePath);
    if (node != devicePath) pathLine = kLinkTarget.arg(devicePath, node);
    if (overridden) pathLine = kOverridden.arg(pathLine, SettingsKeys::portKey(portNumber));
    lines.append(pathLine);

    if (device.hasUsbStrings()) {
        QStringList words;
        for (const QString& word : {device.maker, device.product}) {
            if (!word.isEmpty()) words.append(word);
        }
        if (!device.serialNumber.isEmpty()) words.append(kSerialNumber.arg(device.serialNumber));
        lines.append(words.join(QStringLiteral("  ")));
    }

    switch (state) {
        case State::Unchecked:
            break;
        case State::Missing:
            lines.append(kMissing);
            break;
        case State::Usable:
            lines.append(kUsable);
            break;
        case State::Held:
            lines.append(kHeld.arg(detail));
            break;
        case State::Unusable:
            lines.append(kUnusable.arg(detail));
            break;
    }
    if (!board.isEmpty()) lines.append(kBoardFound.arg(board));
    return lines.join(QLatin1Char('\n'));
}

QString PortDeviceSummary::probeText(const BoardSearch::Probe& probe)
{
    using namespace PortTexts;
    using Kind = BoardSearch::Probe::Kind;
    const QString device =
        probe.link.portNumber > 0
            ? QStringLiteral("%1 %2").arg(probe.link.portName(), probe.link.devicePath)
            : probe.link.devicePath;
    QString what;
    switch (probe.kind) {
        case Kind::Board:
            what = kProbeBoard.arg(probe.detail);
            break;
        case Kind::NoAnswer:
            what = probe.detail.toInt() > 0 ? kProbeShortAnswer.arg(probe.detail) : kProbeNoAnswer;
            break;
        case Kind::OtherAnswer:
            what = kProbeOtherAnswer.arg(printable(probe.detail));
            break;
        case Kind::Held:
            what = kProbeHeld.arg(probe.detail);
            break;
        case Kind::Unusable:
            what = kProbeUnusable.arg(probe.detail.section(QLatin1Char('\n'), 0, 0));
            break;
        case Kind::LineLost:
            what = kProbeUnusable.arg(kLineLost);
            break;
    }
    return kProbeLine.arg(device, what);
}
