#include "link/gui/AccessTexts.h"

#include "base/HexText.h"
#include "base/ProductInfo.h"

#include <algorithm>
#include <chrono>

namespace {

QString byteText(std::uint8_t value) { return QStringLiteral("0x") + hexText(value, 2); }
QString addressText(qint64 address)
{
    return QStringLiteral("0x") + hexText(static_cast<quint32>(address), 5);
}

}  // namespace

QString AccessTexts::stepText(ChipStep step, AccessMode mode)
{
    const bool block = mode == AccessMode::Block;
    switch (step) {
        case ChipStep::Detect:
            return {};
        case ChipStep::Read:
            return block ? tr("読み出し中.....") : QString();
        case ChipStep::Write:
            return block ? tr("書き込み中.....") : QString();
        case ChipStep::Verify:
            return tr("ベリファイ中.....");
        case ChipStep::Erase:
            return tr("消去中.....");
        case ChipStep::BlankCheck:
            return tr("ブランクチェック中.....");
    }
    return {};
}

QString AccessTexts::elapsedText(const QString& prefix, LinkClock::Duration elapsed)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
    return prefix + QString::number(seconds < 0 ? 0 : seconds) + QStringLiteral("sec)");
}

QString AccessTexts::writtenText(ChipStep step, const AccessOutcome& outcome)
{
    return elapsedText(step == ChipStep::Erase ? tr("消去終了。 (") : tr("書き込み終了。 ("),
                       outcome.elapsed);
}

QString AccessTexts::jobText(const ChipJobOutcome& job, const QString& stepText)
{
    const AccessOutcome& access = job.access;
    switch (access.kind) {
        case AccessOutcome::Kind::Done:
            break;
        case AccessOutcome::Kind::Refused:
            return refusalText(access);
        case AccessOutcome::Kind::Cancelled:
            return stoppedText(job);
        default:
            return failureText(access, stepText) + writeProgressNote(job) + earlierStopNote(job);
    }
    if (job.comparison) {
        return job.step == ChipStep::BlankCheck ? blankText(*job.comparison)
                                                : verifyText(*job.comparison, access.elapsed);
    }
    switch (job.step) {
        case ChipStep::Write:
        case ChipStep::Erase:
            return writtenText(job.step, access);
        default:
            return elapsedText(tr("読み出し終了。 ("), access.elapsed);
    }
}

QString AccessTexts::failureText(const AccessOutcome& outcome, const QString& stepText)
{
    const QString checkFailed = tr("プログラマ接続確認エラー。");
    const QString lineLost = tr("通信ポートが切断されました。");
    if (outcome.stage == AccessOutcome::Stage::Detection) {
        switch (outcome.kind) {
            case AccessOutcome::Kind::PortUnusable:
                return checkFailed + tr("【0】");
            case AccessOutcome::Kind::NoBoard:
                if (!outcome.answeredBytes) return checkFailed;
                return checkFailed + tr("【") + QString::number(*outcome.answeredBytes) + tr("】");
            case AccessOutcome::Kind::LineLost:
                return lineLost;
            default:
                return checkFailed;
        }
    }
    QString text;
    switch (outcome.kind) {
        case AccessOutcome::Kind::TimedOut:
            text = timeOutText();
            break;
        case AccessOutcome::Kind::LineLost:
            text = lineLost;
            break;
        default:
            text = stepText;
            break;
    }
    return text + (outcome.write ? tr(" ライトエラー") : tr("  リードエラー"));
}

QString AccessTexts::writeProgressNote(const ChipJobOutcome& job)
{
    if (job.written) {
        return job.step == ChipStep::BlankCheck
                   ? tr(" (消去は終わっています。ブランクチェックは終わっていません)")
                   : tr(" (書き込みは終わっています。ベリファイは終わっていません)");
    }
    const AccessOutcome& access = job.access;
    if (!access.write || !access.rangeSent) return {};
    QString note = access.bytesDone > 0
                       ? tr(" (チップは 0x%1 まで書き込み済みです)")
                             .arg(hexText(static_cast<quint32>(access.lastAddressDone()), 5))
                       : tr(" (チップには何も書き込んでいません)");
    // The PC stopped inside the range: the board takes whatever comes next as chunk data.
    if (access.kind == AccessOutcome::Kind::Cancelled && access.bytesBoardAwaits() > 0) {
        note += tr(" ボードは残りの %1 バイトを待っています。次のアクセスの前にボードの電源を"
                   "入れ直してください。")
                    .arg(access.bytesBoardAwaits());
    }
    return note;
}

QString AccessTexts::earlierStopNote(const ChipJobOutcome& job)
{
    if (!job.earlierStoppedWrite) return {};
    const StoppedWrites::Record& stopped = *job.earlierStoppedWrite;
    return tr(" 前回の書き込みが 0x%1 で止まったため、ボードはまだ残りの %2 バイトを待っている"
              "可能性があります。ボードの電源を入れ直してください。")
        .arg(hexText(static_cast<quint32>(std::max<qint64>(stopped.lastAddress, 0)), 5))
        .arg(stopped.bytesAwaited);
}

QString AccessTexts::stoppedText(const ChipJobOutcome& job)
{
    const QString stopped = tr("中止しました。");
    const AccessOutcome& access = job.access;
    if (job.written) return stopped + writeProgressNote(job);
    if (!access.write) return stopped;
    if (!access.rangeSent) return stopped + tr(" (チップには何も書き込んでいません)");
    return stopped + writeProgressNote(job);
}

QString AccessTexts::refusalText(const AccessOutcome& outcome)
{
    using Refusal = AccessOutcome::Refusal;
    switch (outcome.refusal) {
        case Refusal::None:
        case Refusal::Busy:
            return {};
        case Refusal::NoDevice:
            return tr("デバイスが選択されていません。");
        case Refusal::UnknownFamily:
            return tr("このデバイスの種類（%1）は読み書きできません。").arg(outcome.refusedValue);
        case Refusal::NoChunk:
            return tr("このデバイスのページサイズ（%1）では読み書きできません。")
                .arg(outcome.refusedValue);
        case Refusal::NotAByteCell:
            return tr("バイト単位の読み書きは、グリッドでデータのセルを選んでから行ってください。");
        case Refusal::NoAccessSize:
            return tr("アクセスサイズが選ばれていません。");
        case Refusal::Misaligned:
            return tr("開始アドレス %1 は %2 バイト単位の境界にありません。")
                .arg(outcome.refusedValue)
                .arg(outcome.refusedLimit);
        case Refusal::OutsideImage:
            return tr("アクセスサイズ %1 バイトがメモリーの大きさ %2 バイトを超えるため、"
                      "読み書きできません。")
                .arg(outcome.refusedValue)
                .arg(outcome.refusedLimit);
    }
    return {};
}

QString AccessTexts::verifyText(const Comparison& comparison, LinkClock::Duration elapsed)
{
    if (comparison.matches()) return elapsedText(tr("ベリファイOK ("), elapsed);
    const ByteDifference& first = comparison.first.first();
    return tr("ベリファイエラー: %1 バイト不一致 (最初 %2: バッファ %3 / チップ %4)")
        .arg(comparison.mismatches)
        .arg(addressText(first.address), byteText(first.expected), byteText(first.actual));
}

QString AccessTexts::blankText(const Comparison& comparison)
{
    if (comparison.matches()) return tr("ブランクです (全て0xFF)");
    const ByteDifference& first = comparison.first.first();
    return tr("ブランクではありません: %1 バイトが0xFF以外 (最初 %2 = %3)")
        .arg(comparison.mismatches)
        .arg(addressText(first.address), byteText(first.actual));
}

QString AccessTexts::blankReadHint()
{
    return tr("  全て0xFFです: 空のチップか、チップが挿さっていないか逆向きの可能性があります。");
}

QString AccessTexts::timeOutText() { return tr("タイムアウト"); }

QString AccessTexts::notConnectedText(const QString& portName)
{
    return portName + tr(" : ライター未接続");
}

QString AccessTexts::stopWriteForCloseQuestion()
{
    return tr(
        "チップへの書き込み中です。\n"
        "中止すると、チップは途中まで書き込まれた状態のまま残ります。\n"
        "書き込みを中止して終了しますか？");
}

QString AccessTexts::stoppedForCloseText(const QString& jobText)
{
    return tr("書き込みを") + jobText;
}

QString AccessTexts::verifyAfterWriteWarning(const QString& verifyText)
{
    return tr("書き込んだデータをチップから読み返すと、一致しませんでした。\n") + verifyText;
}

QString AccessTexts::erasedNotBlankWarning(const QString& blankText)
{
    return tr("消去したチップに0xFF以外のバイトが残っています。\n") + blankText;
}

QString AccessTexts::eraseQuestion(const QString& deviceName, qint64 size)
{
    return tr("%1 (%2 バイト) の全体に 0xFF を書き込んで消去します。\n"
              "チップの内容は失われます。よろしいですか？")
        .arg(deviceName)
        .arg(size);
}

QString AccessTexts::verifyCaption() { return tr("ベリファイ"); }

QString AccessTexts::chipColumnCaption() { return tr("チップ"); }

MessageBoxRequest AccessTexts::oldFirmwareMessage()
{
    MessageBoxRequest message;
    message.text =
        tr("このファームウエアバージョンでは、VORLE6.EXEは使用できません。"
           "ファームウエアバージョン６以上をご使用ください。");
    message.title = ProductInfo::kApplicationTitle;
    message.icon = MessageIcon::None;
    message.buttons = MessageButtons::Ok;
    return message;
}
