#include "cli/RunTexts.h"

#include "cli/ChipJobResult.h"
#include "cli/ExitCodes.h"
#include "cli/ResultTexts.h"

#include <algorithm>
#include <chrono>

namespace {

using Kind = RoundResult::Kind;

// The chip job's result as the write command reports it.
BoardResult boardResultOf(const RoundResult& result, bool verify)
{
    BoardResult board;
    board.link = result.link;
    board.command = CliCommand::Write;
    board.partName = result.record.part;
    board.verifyAfter = verify;
    takeChipJobOutcome(board, result.chip);
    return board;
}

QString serialsText(const ChipRecord& record)
{
    QStringList serials;
    for (const SerialValue& value : record.serials) {
        serials.append(value.field + QLatin1Char('=') + value.text);
    }
    return serials.join(QLatin1Char(' '));
}

QString numbersText(NumberFate fate)
{
    switch (fate) {
        case NumberFate::Taken:
            return QStringLiteral("its numbers stay taken and are never issued again");
        case NumberFate::Used:
            return QStringLiteral("its numbers are used");
        case NumberFate::Burnt:
            return QStringLiteral("its numbers are burnt (never issued again)");
        case NumberFate::Returned:
            return QStringLiteral("its numbers go to the next chip");
    }
    return {};
}

// Why the chip did not pass; empty when it did.
QString problemText(const RoundResult& result, bool verify, const QString& databaseText)
{
    switch (result.kind) {
        case Kind::NotStarted:
            return QStringLiteral("interrupted before anything was sent; no numbers taken");
        case Kind::NoNumbers:
            return QStringLiteral("no numbers: %1; nothing was sent").arg(databaseText);
        case Kind::NotRecorded:
        case Kind::Recorded:
            break;
    }
    QString text;
    const BoardResult board = boardResultOf(result, verify);
    if (!board.succeeded()) text = resultMessage(board);
    if (result.kind == Kind::NotRecorded) {
        const QString unrecorded =
            QStringLiteral("the outcome (%1) could not be recorded: %2; the chip stays pending")
                .arg(chipResultName(result.record.result), databaseText);
        text = text.isEmpty() ? unrecorded : text + QStringLiteral("; ") + unrecorded;
    }
    return text;
}

double secondsOf(std::chrono::milliseconds duration)
{
    return std::chrono::duration<double>(duration).count();
}

}  // namespace

int roundExitCode(const RoundResult& result)
{
    switch (result.kind) {
        case Kind::NotStarted:
            return ExitCodes::kInterrupted;
        case Kind::NoNumbers:
            return ExitCodes::kFile;
        case Kind::NotRecorded:
        case Kind::Recorded:
            break;
    }
    int code = boardResultOf(result, true).exitCode();
    const ChipResult chip = result.record.result;
    if (code == ExitCodes::kDone && chip != ChipResult::Verified && chip != ChipResult::Written) {
        code = chip == ChipResult::Mismatch ? ExitCodes::kMismatch : ExitCodes::kTransfer;
    }
    if (result.kind == Kind::NotRecorded) code = std::max(code, ExitCodes::kFile);
    return code;
}

QString roundSummaryLine(const RoundResult& result, bool verify, const QString& databaseText)
{
    const ChipRecord& record = result.record;
    const QString chip = result.kind == Kind::NotStarted || result.kind == Kind::NoNumbers
                             ? QStringLiteral("no chip")
                             : QStringLiteral("chip %1").arg(record.id);
    const int code = roundExitCode(result);
    if (code == ExitCodes::kDone) {
        return QStringLiteral("%1: %2 OK: %3 %4 in %5 s")
            .arg(result.link.devicePath, chip, chipResultName(record.result), serialsText(record))
            .arg(secondsOf(record.duration), 0, 'f', 1);
    }
    QString line =
        QStringLiteral("%1: %2 FAILED (exit %3): ").arg(result.link.devicePath, chip).arg(code);
    if (!record.serials.isEmpty()) line += serialsText(record) + QStringLiteral(": ");
    line += problemText(result, verify, databaseText);
    if (result.kind == Kind::Recorded) line += QStringLiteral("; ") + numbersText(record.numbers);
    return line;
}

QJsonObject roundJson(const RoundResult& result, bool verify, const QString& databaseText)
{
    QJsonObject object = chipRecordJson(result.record);
    if (result.kind == Kind::NotStarted || result.kind == Kind::NoNumbers) {
        object.insert("id", QJsonValue());
        object.insert("numbers", QJsonValue());
    }
    if (roundExitCode(result) != ExitCodes::kDone) {
        object.insert("error", problemText(result, verify, databaseText));
    }
    return object;
}
