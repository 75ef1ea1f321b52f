#pragma once

#include "base/UserDialogs.h"
#include "jobs/ChipJobOrder.h"
#include "jobs/ChipJobOutcome.h"
#include "link/AccessPackets.h"

#include <QCoreApplication>
#include <QString>

// The window's words for the commands that reach the chip: the status texts while a step runs,
// what panel 1 says when a command ends (success, refusal, failure or stop, with how far a write
// got), and the boxes that some failures bring. Japanese source texts, translated through Qt.
class AccessTexts {
    Q_DECLARE_TR_FUNCTIONS(AccessTexts)
public:
    // What panel 1 shows while `step` runs: "読み出し中.....", "ベリファイ中.....", ...; a byte
    // read or write shows nothing of its own.
    [[nodiscard]] static QString stepText(ChipStep step, AccessMode mode);

    // Panel 1 when a job has ended. `stepText` is what the panel showed while its last step
    // ran; a wrong answer from the board builds on it.
    [[nodiscard]] static QString jobText(const ChipJobOutcome& job, const QString& stepText);
    // Panel 1 when the window's command of `order` has ended: jobText, and what the job found
    // about the chip's contents: nothing written when the read before a block write or erase
    // ended it, reads that differed but had a majority, the changed bytes a write sent, the
    // backup file, contents of nothing but 0xFF (a block access other than Block Read, which
    // adds it itself).
    [[nodiscard]] static QString endText(const ChipJobOrder& order, const ChipJobOutcome& job,
                                         const QString& stepText);
    // Panel 1 when a write or erase has ended well and its check follows.
    [[nodiscard]] static QString writtenText(ChipStep step, const AccessOutcome& outcome);
    // Panel 1 for a command refused before anything was sent; empty when the refusal has no
    // words of its own (another command runs).
    [[nodiscard]] static QString refusalText(const AccessOutcome& outcome);

    // "ベリファイOK (3sec)" or "ベリファイエラー: 2 バイト不一致 (...)".
    [[nodiscard]] static QString verifyText(const Comparison& comparison,
                                            LinkClock::Duration elapsed);
    [[nodiscard]] static QString blankText(const Comparison& comparison);
    // Added to the end text of a read that found only 0xFF.
    [[nodiscard]] static QString blankReadHint();
    // "読み出し終了。 (12sec)": the seconds cut to whole ones.
    [[nodiscard]] static QString elapsedText(const QString& prefix, LinkClock::Duration elapsed);

    // Panel 1 the moment a reply wait runs out.
    [[nodiscard]] static QString timeOutText();
    // Panel 2 when no board answers on `portName`.
    [[nodiscard]] static QString notConnectedText(const QString& portName);

    // The box before the window closes during a write.
    [[nodiscard]] static QString stopWriteForCloseQuestion();
    // The box after a write stopped for the window's close: `jobText` says how far it got.
    [[nodiscard]] static QString stoppedForCloseText(const QString& jobText);
    // The warnings after a write or erase whose check found the chip wrong.
    [[nodiscard]] static QString verifyAfterWriteWarning(const QString& verifyText);
    [[nodiscard]] static QString erasedNotBlankWarning(const QString& blankText);
    // The question before an erase of `deviceName` of `size` bytes.
    [[nodiscard]] static QString eraseQuestion(const QString& deviceName, qint64 size);
    // The comparison list's captions after a verify.
    [[nodiscard]] static QString verifyCaption();
    [[nodiscard]] static QString chipColumnCaption();
    // The list's captions for reads that differed: its title and the column of read `read`.
    [[nodiscard]] static QString readsCaption();
    [[nodiscard]] static QString readCaption(int read);

    // The box when the backup before a block write or erase could not be saved: the file it was
    // to be and why.
    [[nodiscard]] static QString backupFailedWarning(const SavedBackup& backup);
    // The question before a Block Write of a file's image of `fileBytes` to a part of
    // `partBytes`.
    [[nodiscard]] static QString partSizeQuestion(qint64 fileBytes, qint64 partBytes);

    [[nodiscard]] static MessageBoxRequest oldFirmwareMessage();

private:
    [[nodiscard]] static QString failureText(const AccessOutcome& outcome, const QString& stepText);
    [[nodiscard]] static QString stoppedText(const ChipJobOutcome& job);
    // A board that does not answer on a port whose last write stopped inside its range.
    [[nodiscard]] static QString earlierStopNote(const ChipJobOutcome& job);
    [[nodiscard]] static QString nothingWrittenNote();
    [[nodiscard]] static QString unreliableContactText();
    // Reads without a majority somewhere: how many, where first and what each read gave.
    [[nodiscard]] static QString readsDifferText(const ReadAgreement& agreement);
    // Reads that differed where a majority decided every byte.
    [[nodiscard]] static QString majorityNote(const ReadAgreement& agreement);
    [[nodiscard]] static QString backupFailedText(const SavedBackup& backup);
    [[nodiscard]] static QString whyNoBackup(const SavedBackup& backup);
    // " (チップは 0x000FF まで書き込み済みです)" and what the board still waits for.
    [[nodiscard]] static QString writeProgressNote(const ChipJobOutcome& job);
};
