#pragma once

#include "image/ImageComparison.h"
#include "link/AccessOutcome.h"
#include "link/LinkSettings.h"
#include "link/TransferPlan.h"

#include <QByteArray>
#include <QString>

#include <optional>

class EepromTransfer;

// A read-back and what it found: the access's outcome, and when the whole range was read, the
// comparison. `passed()` only when both went well.
struct CheckOutcome {
    AccessOutcome access;
    Comparison comparison;
    QByteArray chip;  // what was read, in an image of the part's size (0xFF outside the range)

    [[nodiscard]] bool passed() const { return access.succeeded() && comparison.matches(); }
};

// Verify, blank check and erase: reads into a scratch image and comparisons on top of the block
// transfers. None of them changes the caller's memory image. The texts are the window's
// status texts; other front-ends build their own from the figures.
class ChipOperations {
public:
    explicit ChipOperations(EepromTransfer& transfer) : m_transfer(transfer) {}

    // Reads the block range of `request` and compares it with the same range of `expected`.
    // Ends with "ベリファイOK (Nsec)" or "ベリファイエラー: N バイト不一致 (...)".
    [[nodiscard]] CheckOutcome verify(const LinkSettings& link, const TransferRequest& request,
                                      const QByteArray& expected, const QString& statusText = {});
    // Reads the whole part and looks for bytes other than 0xFF.
    [[nodiscard]] CheckOutcome blankCheck(const LinkSettings& link, const SelectedDevice& device,
                                          const QString& statusText = {});
    // Writes 0xFF over the whole part. The caller checks it blank afterwards when it wants to.
    [[nodiscard]] AccessOutcome erase(const LinkSettings& link, const SelectedDevice& device,
                                      const QString& statusText = {});

    // A block access over the whole of `device`: what blank check and erase move.
    [[nodiscard]] static TransferRequest wholePart(const std::optional<SelectedDevice>& device);

    // The status texts of a comparison.
    [[nodiscard]] static QString verifyText(const Comparison& comparison,
                                            LinkClock::Duration elapsed);
    [[nodiscard]] static QString blankText(const Comparison& comparison);
    // "消去終了。 (12sec)"
    [[nodiscard]] static QString erasedText(LinkClock::Duration elapsed);

    // Whether `bytes` hold only 0xFF over [start, start + length).
    [[nodiscard]] static bool allBlank(const QByteArray& bytes, qint64 start, qint64 length);
    // Added to the end text of a read that found only 0xFF: an empty socket and a part the
    // wrong way round read like that, as does a blank part.
    [[nodiscard]] static QString blankReadHint();

private:
    EepromTransfer& m_transfer;
};
