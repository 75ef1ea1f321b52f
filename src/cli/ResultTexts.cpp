#include "cli/ResultTexts.h"

#include "base/HexText.h"
#include "cli/AccessRange.h"
#include "cli/DumpFacts.h"
#include "link/PortOpenFailure.h"

#include <algorithm>
#include <chrono>

namespace {

using Kind = BoardResult::Kind;

QString secondsText(LinkClock::Duration elapsed)
{
    return QString::number(std::chrono::duration<double>(elapsed).count(), 'f', 1) +
           QStringLiteral(" s");
}

QString byteText(std::uint8_t value) { return QStringLiteral("0x") + hexText(value, 2); }

// The answer of a device that is not the board, readable whatever it sent.
QString printable(const QString& text)
{
    QString result;
    for (const QChar c : text) result += c.isPrint() ? c : QLatin1Char('.');
    return result;
}

bool isWrite(const BoardResult& result)
{
    return result.command == CliCommand::Write || result.command == CliCommand::Erase;
}

// "; the write got to 0x00FFF (0x00000..0x00FFF were sent to the board)"
QString writtenText(const BoardResult& result)
{
    if (!isWrite(result)) return {};
    const qint64 first = result.writtenTo < 0 ? 0 : result.writtenTo - result.bytes + 1;
    if (result.writtenTo < 0) return QStringLiteral("; nothing was written");
    const QString step =
        result.command == CliCommand::Erase ? QStringLiteral("erase") : QStringLiteral("write");
    if (result.changedOnly) {
        return QStringLiteral(
                   "; the %1 got to address %2 (%3 changed bytes were sent to the board)")
            .arg(step, addressText(result.writtenTo))
            .arg(result.bytes);
    }
    return QStringLiteral("; the %1 got to address %2 (%3..%2 were sent to the board)")
        .arg(step, addressText(result.writtenTo), addressText(first));
}

// A write or erase of the changed chunks only: how much it sent and how.
QString changedOnlyText(const BoardResult& result, const QString& seconds)
{
    const bool erase = result.command == CliCommand::Erase;
    if (result.chipHeldImage) {
        return (erase ? QStringLiteral("the chip is blank already: nothing was erased (%1)")
                      : QStringLiteral("the chip holds the image already: nothing was written "
                                       "(%1)"))
            .arg(seconds);
    }
    const QString sent =
        QStringLiteral("%1 %2 bytes in %3 %4 of %5 blocks")
            .arg(erase ? QStringLiteral("erased") : QStringLiteral("wrote"))
            .arg(result.bytes)
            .arg(result.writeAccesses)
            .arg(result.writeAccesses == 1 ? QStringLiteral("range") : QStringLiteral("ranges"),
                 erase ? QStringLiteral("non-blank") : QStringLiteral("changed"));
    if (!result.verifyAfter) {
        return QStringLiteral("%1 in %2 (not %3)")
            .arg(sent, seconds, erase ? QStringLiteral("checked") : QStringLiteral("verified"));
    }
    return QStringLiteral("%1 and %2 the whole range in %3")
        .arg(sent, erase ? QStringLiteral("checked blank") : QStringLiteral("verified"), seconds);
}

// Reads that differ without a majority: nothing they gave is used.
QString readsDifferMessage(const BoardResult& result)
{
    QString text = readsDifferText(*result.agreement) +
                   QStringLiteral(
                       ": the contact is unreliable; check the clip, the socket or "
                       "the wires");
    if (result.command == CliCommand::Read) return text + QStringLiteral("; no file was written");
    if (!isWrite(result)) return text;
    if (result.writtenTo < 0) return text + QStringLiteral("; nothing was written");
    return text + QStringLiteral("; %1 bytes had been written").arg(result.bytes);
}

// "; the board still expects 7936 bytes: ..." after a write that stopped inside its range.
QString boardAwaitsText(const BoardResult& result)
{
    const qint64 awaited = result.access.bytesBoardAwaits();
    if (awaited <= 0) return {};
    return QStringLiteral(
               "; the board still expects %1 bytes of that write: switch it off and on "
               "before the next access")
        .arg(awaited);
}

QString doneText(const BoardResult& result)
{
    const QString seconds = secondsText(result.elapsed);
    switch (result.command) {
        case CliCommand::List:
        case CliCommand::Detect:
            return QStringLiteral("%1 on %2")
                .arg(result.access.identification, result.link.devicePath);
        case CliCommand::Read:
            return QStringLiteral("read %1 bytes in %2%3")
                .arg(result.bytes)
                .arg(seconds, result.outputPath.isEmpty()
                                  ? QString()
                                  : QStringLiteral(" into ") + result.outputPath);
        case CliCommand::Write:
            if (result.changedOnly) return changedOnlyText(result, seconds);
            return result.verifyAfter ? QStringLiteral("wrote %1 bytes and verified them in %2")
                                            .arg(result.bytes)
                                            .arg(seconds)
                                      : QStringLiteral("wrote %1 bytes in %2 (not verified)")
                                            .arg(result.bytes)
                                            .arg(seconds);
        case CliCommand::Verify:
            return QStringLiteral("verified %1 bytes: the chip matches the file (%2)")
                .arg(result.bytes)
                .arg(seconds);
        case CliCommand::Blank:
            return QStringLiteral("blank: all %1 bytes are 0xFF (%2)")
                .arg(result.bytes)
                .arg(seconds);
        case CliCommand::Erase:
            if (result.changedOnly) return changedOnlyText(result, seconds);
            return result.verifyAfter
                       ? QStringLiteral("erased %1 bytes and checked them blank in %2")
                             .arg(result.bytes)
                             .arg(seconds)
                       : QStringLiteral("erased %1 bytes in %2 (not checked)")
                             .arg(result.bytes)
                             .arg(seconds);
    }
    return {};
}

QString differenceText(const BoardResult& result)
{
    const Comparison& comparison = *result.comparison;
    const ByteDifference& first = comparison.first.first();
    const QString prefix = isWrite(result) ? QStringLiteral("written, but ") : QString();
    if (result.kind == Kind::NotBlank) {
        return prefix + QStringLiteral(
                            "not blank: %1 of %2 bytes are not 0xFF; the first at "
                            "%3 = %4")
                            .arg(comparison.mismatches)
                            .arg(comparison.compared)
                            .arg(addressText(first.address), byteText(first.actual));
    }
    return prefix +
           QStringLiteral(
               "verify failed: %1 of %2 bytes differ; the first at %3: "
               "file %4, chip %5")
               .arg(comparison.mismatches)
               .arg(comparison.compared)
               .arg(addressText(first.address), byteText(first.expected), byteText(first.actual));
}

QString failedStepText(const BoardResult& result, const QString& what)
{
    return QStringLiteral("%1 failed: %2 after %3 bytes")
        .arg(chipStepName(result.phase), what)
        .arg(result.access.bytesDone);
}

QString noBoardText(const BoardResult& result)
{
    const std::optional<int>& answered = result.access.answeredBytes;
    QString detail;
    if (answered) {
        detail = *answered == 0
                     ? QStringLiteral("nothing came back")
                     : QStringLiteral("%1 bytes came back, too few for an identification")
                           .arg(*answered);
    } else {
        detail = QStringLiteral("the device answered \"%1\"").arg(printable(result.access.reason));
    }
    QString text = QStringLiteral(
                       "no QZ-PGM board answered on %1 (%2); check the cable, the power and "
                       "the port")
                       .arg(result.link.devicePath, detail);
    if (const std::optional<StoppedWrites::Record>& stopped = result.earlierStoppedWrite) {
        text += QStringLiteral(
                    ". The last write on this port stopped at %1, so the board may "
                    "still expect %2 bytes: switch it off and on")
                    .arg(addressText(std::max<qint64>(stopped->lastAddress, 0)))
                    .arg(stopped->bytesAwaited);
    }
    return text;
}

}  // namespace

QString portProblemText(const PortOpenFailure& failure, const QString& devicePath,
                        const QString& holder)
{
    const QString device = failure.devicePath.isEmpty() ? devicePath : failure.devicePath;
    const QString reason = failure.systemReason.isEmpty() ? QStringLiteral("it cannot be opened")
                                                          : failure.systemReason;
    QString text = QStringLiteral("cannot open %1: %2").arg(device, reason);
    switch (failure.kind) {
        case PortOpenFailure::Kind::PermissionDenied: {
            const QString group =
                failure.deviceGroup.isEmpty() ? QStringLiteral("dialout") : failure.deviceGroup;
            if (failure.memberNotYetActive) {
                text +=
                    QStringLiteral(
                        ". %1 is in the device's group \"%2\" already, but not in "
                        "this login: log in again")
                        .arg(failure.userName.isEmpty() ? QStringLiteral("You") : failure.userName,
                             group);
                break;
            }
            text += QStringLiteral(
                        ". You may not use this device: join its group \"%1\" "
                        "(sudo usermod -aG %1 %2), then log in again")
                        .arg(group, failure.userName.isEmpty() ? QStringLiteral("$USER")
                                                               : failure.userName);
            break;
        }
        case PortOpenFailure::Kind::NotFound:
            text += QStringLiteral(
                ". There is no such device: is the board's USB serial adapter "
                "plugged in? Port n is /dev/ttyUSB<n-1> unless [Ports] in "
                "the settings maps it elsewhere; or give -p with the "
                "device's path");
            break;
        case PortOpenFailure::Kind::InUse:
            text +=
                holder.isEmpty()
                    ? QStringLiteral(
                          ". Another program has the port open (the vorle6 "
                          "window, another vorle6-cli or a terminal program); a "
                          "port is never shared")
                    : QStringLiteral(". %1 has the port open; a port is never shared").arg(holder);
            break;
        case PortOpenFailure::Kind::Other:
            break;
    }
    return text;
}

QString resultMessage(const BoardResult& result)
{
    switch (result.kind) {
        case Kind::Done:
            return doneText(result);
        case Kind::Mismatch:
        case Kind::NotBlank:
            return differenceText(result);
        case Kind::Refused:
            return QStringLiteral("the access was refused before anything was sent");
        case Kind::ReadsDiffer:
            return readsDifferMessage(result);
        case Kind::FileError:
            if (isWrite(result) && result.backup) {
                return QStringLiteral("cannot save the part in %1: %2; nothing was written")
                    .arg(result.backup->path, result.fileError);
            }
            return QStringLiteral("read %1 bytes, but cannot write %2: %3")
                .arg(result.bytes)
                .arg(result.outputPath, result.fileError);
        case Kind::PortUnusable:
            return portProblemText(result.portFailure, result.link.devicePath, result.holder);
        case Kind::PortClaimed:
            return QStringLiteral("%1 is in use by %2; a port is never shared")
                .arg(result.link.devicePath, result.holder);
        case Kind::NoBoard:
            return noBoardText(result);
        case Kind::OldFirmware:
            return QStringLiteral("the board on %1 is \"%2\"; firmware 6.00 or later is needed")
                .arg(result.link.devicePath, printable(result.access.identification));
        case Kind::TimedOut:
            return failedStepText(result, QStringLiteral("the board stopped answering")) +
                   writtenText(result) + boardAwaitsText(result);
        case Kind::BadReply:
            return failedStepText(result, QStringLiteral("the board's answer broke the protocol")) +
                   writtenText(result) + boardAwaitsText(result);
        case Kind::LineLost:
            return failedStepText(result, QStringLiteral("the line was lost")) +
                   writtenText(result) + boardAwaitsText(result);
        case Kind::Cancelled: {
            if (result.phase == ChipStep::Verify || result.phase == ChipStep::BlankCheck) {
                if (isWrite(result)) {
                    return QStringLiteral(
                               "interrupted during the %1; all %2 bytes had been "
                               "written")
                        .arg(chipStepName(result.phase))
                        .arg(result.bytes);
                }
            }
            if (result.access.stage == AccessOutcome::Stage::Detection) {
                // A backup or changed-only write reads the chip before it writes.
                const bool readFirst = result.changedOnly || result.backup;
                return isWrite(result) && readFirst && result.writtenTo < 0
                           ? QStringLiteral("interrupted before anything was written")
                           : QStringLiteral("interrupted before anything was sent");
            }
            return QStringLiteral("interrupted during the %1 after %2 bytes")
                       .arg(chipStepName(result.phase))
                       .arg(result.access.bytesDone) +
                   writtenText(result) + boardAwaitsText(result);
        }
    }
    return {};
}

QString resultSummaryLine(const BoardResult& result)
{
    if (result.command == CliCommand::Detect && result.succeeded()) return resultMessage(result);
    const QString what = result.partName.isEmpty()
                             ? cliCommandName(result.command)
                             : result.partName + QLatin1Char(' ') + cliCommandName(result.command);
    const QString verdict = result.succeeded()
                                ? QStringLiteral("OK")
                                : QStringLiteral("FAILED (exit %1)").arg(result.exitCode());
    return QStringLiteral("%1: %2 %3: %4")
        .arg(result.link.devicePath, what, verdict, resultMessage(result));
}

QString resultOutcomeName(const BoardResult& result)
{
    switch (result.kind) {
        case Kind::Done:
            return QStringLiteral("done");
        case Kind::Mismatch:
            return QStringLiteral("mismatch");
        case Kind::NotBlank:
            return QStringLiteral("not-blank");
        case Kind::ReadsDiffer:
            return QStringLiteral("reads-differ");
        case Kind::Refused:
            return QStringLiteral("refused");
        case Kind::FileError:
            return QStringLiteral("file-error");
        case Kind::PortUnusable:
            return result.portFailure.kind == PortOpenFailure::Kind::InUse
                       ? QStringLiteral("port-in-use")
                       : QStringLiteral("port-unusable");
        case Kind::PortClaimed:
            return QStringLiteral("port-in-use");
        case Kind::NoBoard:
            return QStringLiteral("no-board");
        case Kind::OldFirmware:
            return QStringLiteral("old-firmware");
        case Kind::TimedOut:
            return QStringLiteral("timed-out");
        case Kind::BadReply:
            return QStringLiteral("bad-reply");
        case Kind::LineLost:
            return QStringLiteral("line-lost");
        case Kind::Cancelled:
            return QStringLiteral("interrupted");
    }
    return {};
}
