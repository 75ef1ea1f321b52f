#include "link/gui/AccessTexts.h"

#include "base/HexText.h"
#include "base/ProductInfo.h"
#include "files/gui/FileWriteTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <chrono>

namespace {

QString byteText(std::uint8_t value) { return QStringLiteral("0x") + hexText(value, 2); }
QString addressText(qint64 address)
{
    return QStringLiteral("0x") + hexText(static_cast<quint32>(address), 5);
}

// "0x00020: 0x5A / 0x5B": what each read gave at the first differing address.
QString firstDisagreementText(const ReadAgreement& agreement)
{
    if (agreement.first.isEmpty()) return {};
    const ReadDisagreement& first = agreement.first.first();
    QStringList values;
    for (const std::uint8_t value : first.values) values.append(byteText(value));
    return addressText(first.address) + QStringLiteral(": ") + values.join(QStringLiteral(" / "));
}

bool overwrites(const ChipJobOrder& order)
{
    return order.kind == ChipJobOrder::Kind::Write || order.kind == ChipJobOrder::Kind::Erase;
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
    if (job.backup && !job.backup->saved()) return backupFailedText(*job.backup);
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
    if (job.agreement && !job.agreement->decided()) {
        return readsDifferText(*job.agreement) + writeProgressNote(job);
    }
    if (job.chipHeldImage) {
        return elapsedText(job.step == ChipStep::Erase
                               ? tr("チップはすでにブランクです。何も消去していません。 (")
                               : tr("チップはすでにイメージと同じです。何も書き込んでいません。 ("),
                           job.elapsed);
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

QString AccessTexts::endText(const ChipJobOrder& order, const ChipJobOutcome& job,
                             const QString& stepText)
{
    QString text = jobText(job, stepText);
    // The read before a block write or erase ended the job once it had reached the board (a
    // failed detection says itself that nothing was done).
    if (overwrites(order) && job.step == ChipStep::Read &&
        job.access.stage != AccessOutcome::Stage::Detection) {
        text += nothingWrittenNote();
    }
    const std::optional<ReadAgreement>& agreement = job.agreement;
    if (agreement && agreement->decided() && !agreement->unanimous()) {
        text += majorityNote(*agreement);
    }
    const std::optional<AccessOutcome> write = job.writeStep();
    if (order.changedOnly && !job.chipHeldImage && write && write->succeeded()) {
        text += tr("  書き込んだ変更箇所: %1 バイト (%2 か所)")
                    .arg(job.bytesWritten)
                    .arg(job.spans.size());
    }
    if (job.backup && job.backup->saved()) {
        text += tr("  バックアップ: %1").arg(QFileInfo(job.backup->path).fileName());
    }
    // Block Read adds it itself once it has taken what was read.
    const bool blockRead = order.kind == ChipJobOrder::Kind::Read;
    if (order.request.mode == AccessMode::Block && !blockRead && job.readAllBlank()) {
        text += blankReadHint();
    }
    return text;
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
                       : nothingWrittenNote();
    // The PC stopped inside the range: the board takes whatever comes next as chunk data.
    if (access.kind == AccessOutcome::Kind::Cancelled && access.bytesBoardAwaits() > 0) {
        note += tr(" ボードは残りの %1 バイトを待っています。次のアクセスの前にボードの電源を"
                   "入れ直してください。")
                    .arg(access.bytesBoardAwaits());
    }
    return note;
}

QString AccessTexts::nothingWrittenNote() { return tr(" (チップには何も書き込んでいません)"); }

QString AccessTexts::unreliableContactText()
{
    return tr(" 接触が不安定です。クリップ、ソケット、配線を確かめてください。");
}

QString AccessTexts::readsDifferText(const ReadAgreement& agreement)
{
    QString text = tr("読み出し %1 回の結果が %2 バイトで一致しません (最初 %3)。")
                       .arg(agreement.reads)
                       .arg(agreement.differing)
                       .arg(firstDisagreementText(agreement));
    if (agreement.undecided < agreement.differing) {
        text += tr(" 多数決で決まらないバイト: %1。").arg(agreement.undecided);
    }
    return text + unreliableContactText();
}

QString AccessTexts::majorityNote(const ReadAgreement& agreement)
{
    return tr("  読み出し %1 回の結果が %2 バイトで違い、多数決で決めました (最初 %3)。")
               .arg(agreement.reads)
               .arg(agreement.differing)
               .arg(firstDisagreementText(agreement)) +
           unreliableContactText();
}

QString AccessTexts::backupFailedText(const SavedBackup& backup)
{
    return tr("バックアップを保存できませんでした: %1").arg(whyNoBackup(backup));
}

QString AccessTexts::whyNoBackup(const SavedBackup& backup)
{
    if (backup.failure.cause == FileWriteFailure::Cause::NoFolder &&
        backup.failure.path.isEmpty()) {
        return tr("システムにデータ用のフォルダーがありません。");
    }
    return writeFailureText(backup.failure);
}

QString AccessTexts::backupFailedWarning(const SavedBackup& backup)
{
    QString text =
        tr("チップを上書きする前のバックアップを保存できなかったため、チップには何も書き込んで"
           "いません。\n");
    if (!backup.path.isEmpty()) text += QDir::toNativeSeparators(backup.path) + QLatin1Char('\n');
    return text + whyNoBackup(backup);
}

QString AccessTexts::partSizeQuestion(qint64 fileBytes, qint64 partBytes)
{
    return tr("ファイルのサイズ (%1 バイト) がデバイスのサイズ (%2 バイト) と違います。"
              "書き込みますか？")
        .arg(fileBytes)
        .arg(partBytes);
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
    if (!access.rangeSent) return stopped + nothingWrittenNote();
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

QString AccessTexts::readsCaption() { return tr("読み出しの比較"); }

QString AccessTexts::readCaption(int read) { return tr("%1回目").arg(read); }

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
