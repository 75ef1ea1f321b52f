#pragma once

#include "production/ChipRecord.h"
#include "production/JobProblem.h"
#include "production/LineDatabaseAddress.h"
#include "production/LineFailure.h"
#include "production/ProductionJob.h"
#include "production/RoundResult.h"

#include <QCoreApplication>
#include <QString>

class PortClaim;
struct LinkSettings;

// The production window's words for the production core's facts: a job refused and why, the
// line database's failures, a job's range and fields, and how each board's round ended.
// Japanese source texts, translated through Qt.
class ProductionTexts {
    Q_DECLARE_TR_FUNCTIONS(ProductionTexts)
public:
    // Why a job cannot be run, with the job file's field it is in.
    [[nodiscard]] static QString jobProblemText(const JobProblem& problem);
    // What the line database at `address` could not do.
    [[nodiscard]] static QString lineFailureText(const LineFailure& failure,
                                                 const LineDatabaseAddress& address);

    // "0x00000–0x01FFF (8192 バイト)": the range a job writes.
    [[nodiscard]] static QString rangeText(const ProductionJob& job);
    // "ベリファイする、不良チップの番号は再発行しない"
    [[nodiscard]] static QString rulesText(const ProductionJob& job);
    // "0x00010, 8 バイト": where a serial field lies.
    [[nodiscard]] static QString fieldPlaceText(const SerialField& field);
    // "1 – 99999999 (間隔 1)", or "keys.csv の列 key (3 個)".
    [[nodiscard]] static QString fieldValuesText(const SerialField& field);
    // "serial=00000017 mac=02:00:5E:00:00:01", or "—" without values.
    [[nodiscard]] static QString serialsText(const QList<SerialValue>& values);

    // The verdict of a board's round in a word or two: "合格", "不合格".
    [[nodiscard]] static QString verdictText(bool passed);
    // How the chip ended, as the log says it: "ベリファイOK", "不一致", ...
    [[nodiscard]] static QString chipResultText(ChipResult result);
    // One line on how the board's round ended: the chip, its numbers and, when it did not pass,
    // why and what became of its numbers.
    [[nodiscard]] static QString roundText(const RoundResult& result,
                                           const LineDatabaseAddress& address);

    // A board's port another program of ours holds: nothing was sent to any board.
    [[nodiscard]] static QString portClaimedText(const LinkSettings& link, const PortClaim& claim);
    // Two entries of the board list are one device.
    [[nodiscard]] static QString sameDeviceText(const QString& first, const QString& second);
};
