#pragma once

#include "link/AccessOutcome.h"
#include "link/LinkSettings.h"
#include "link/TransferPlan.h"

#include <QByteArray>

#include <functional>
#include <optional>

class MemoryImage;
class ProgrammerLink;

// Block and byte reads and writes over the programmer link: detection, preamble, header,
// packets and the chunks, each access returning its outcome. Nothing here knows a window;
// what the access shows while it runs goes to the link's observer.
class EepromTransfer {
public:
    explicit EepromTransfer(ProgrammerLink& link) : m_link(link) {}

    // Reads the requested range into `target`, which is planned against and filled in place;
    // bytes outside the range are left alone.
    [[nodiscard]] AccessOutcome read(const LinkSettings& link, const TransferRequest& request,
                                     MemoryImage& target);
    // Writes the requested range of `source` to the part.
    [[nodiscard]] AccessOutcome write(const LinkSettings& link, const TransferRequest& request,
                                      const QByteArray& source);

    // The transfers themselves, on a plan already made and an access already begun.
    [[nodiscard]] AccessOutcome Eep_Read(const LinkSettings& link, const TransferPlan& plan,
                                         MemoryImage& target);
    [[nodiscard]] AccessOutcome Eep_Write(const LinkSettings& link, const TransferPlan& plan,
                                          const QByteArray& source);

    // A write is running: stopping it now leaves the part partly written.
    [[nodiscard]] bool writing() const { return m_writing; }

private:
    // Plans `request` against an image of `imageSize` bytes and runs `transfer` as one access.
    [[nodiscard]] AccessOutcome runPlanned(
        const TransferRequest& request, qint64 imageSize, bool write,
        const std::function<AccessOutcome(const TransferPlan&)>& transfer);
    // Detection, preamble, header and packets of one transfer: nothing when the chunks may
    // follow, else how the access ended.
    [[nodiscard]] std::optional<AccessOutcome> open(const LinkSettings& link,
                                                    const TransferPlan& plan, char letter,
                                                    bool reading);
    // An outcome of the running transfer with `done` bytes of the range moved.
    [[nodiscard]] AccessOutcome outcome(AccessOutcome::Kind kind, const TransferPlan& plan,
                                        qint64 done) const;
    [[nodiscard]] AccessOutcome failed(AccessOutcome::Kind kind, const TransferPlan& plan,
                                       qint64 done);
    // Why the last wait ended without its bytes.
    [[nodiscard]] AccessOutcome::Kind waitFailure() const;
    void reportProgress(qint64 current, const TransferPlan& plan);

    ProgrammerLink& m_link;
    LinkClock::Duration m_opStartTime{0};  // OpStartTime
    QString m_identification;
    LinkSettings m_settings;  // the line of the running access
    bool m_writing = false;
    bool m_rangeSent = false;
};
