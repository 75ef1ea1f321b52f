#include "link/EepromAccess.h"

#include "base/StatusPanels.h"
#include "base/TranslatableText.h"
#include "devices/SelectedDevice.h"
#include "image/MemoryImage.h"
#include "image/UnsavedImage.h"
#include "link/AccessFrame.h"
#include "link/AccessWindow.h"
#include "link/ChipCheckCommands.h"
#include "link/ChipOperations.h"

namespace {

constexpr TranslatableText kReadingText{"EepromAccess",
                                        QT_TRANSLATE_NOOP("EepromAccess", "読み出し中.....")};
constexpr TranslatableText kWritingText{"EepromAccess",
                                        QT_TRANSLATE_NOOP("EepromAccess", "書き込み中.....")};

}  // namespace

EepromAccess::EepromAccess(AccessFrame& frame, ChipCheckCommands& checks)
    : m_frame(frame), m_checks(checks)
{
}

AccessOutcome EepromAccess::Cmd_READ_all_Click()
{
    const TransferRequest block = m_frame.request(::AccessMode::Block);
    const std::int64_t partSize = block.device ? block.device->memorySize() : 0;
    if (auto refused = m_frame.refusal(block, partSize)) return *refused;
    const AccessFrame::Context& context = m_frame.context();
    if (!context.unsaved.mayDiscard(context.dialogs)) {
        AccessOutcome kept;
        kept.kind = AccessOutcome::Kind::Refused;
        return kept;
    }
    return m_frame.run(::AccessMode::Block, kReadingText, [&](const LinkSettings& link) {
        return readWholeImage(link, block, partSize);
    });
}

AccessOutcome EepromAccess::readWholeImage(const LinkSettings& link, const TransferRequest& block,
                                           std::int64_t partSize)
{
    // The read fills a blank image of the part's size that replaces the memory image only once
    // all of it has come: a failed read leaves the image, grid and checksum as they were, so a
    // Block Write after it cannot send a part of 0xFF.
    MemoryImage read;
    read.recreate(partSize);
    AccessOutcome outcome = m_frame.transfer().read(link, block, read, kReadingText);
    if (!outcome.succeeded()) return outcome;
    if (ChipOperations::allBlank(read.bytes(), outcome.firstAddress, outcome.bytesDone)) {
        outcome.text += ChipOperations::blankReadHint();
    }
    const AccessFrame::Context& context = m_frame.context();
    context.image = std::move(read);
    context.unsaved.markKept();
    context.panels.setText(1, QString());
    context.window.ShowImage();
    return outcome;
}

AccessOutcome EepromAccess::Cmd_READ_single_Click()
{
    const AccessFrame::Context& context = m_frame.context();
    const TransferRequest byte = m_frame.request(::AccessMode::Byte);
    if (auto refused = m_frame.refusal(byte, context.image.size())) return *refused;
    return m_frame.run(::AccessMode::Byte, QString(), [&](const LinkSettings& link) {
        AccessOutcome outcome = m_frame.transfer().read(link, byte, context.image);
        if (outcome.succeeded()) {
            // The image now holds a byte that is in no file.
            context.unsaved.markChanged();
            context.panels.setText(1, QString());
            context.window.showReadByte(context.image.at(outcome.firstAddress));
        }
        return outcome;
    });
}

AccessOutcome EepromAccess::Cmd_WRITE_all_Click()
{
    return write(::AccessMode::Block, kWritingText);
}

AccessOutcome EepromAccess::Cmd_WRITE_single_Click()
{
    return write(::AccessMode::Byte, QString());
}

AccessOutcome EepromAccess::write(::AccessMode mode, const QString& statusText)
{
    const MemoryImage& image = m_frame.context().image;
    const TransferRequest request = m_frame.request(mode);
    if (auto refused = m_frame.refusal(request, image.size())) return *refused;
    return m_frame.run(mode, statusText, [&](const LinkSettings& link) {
        // The bytes as they stand now: whatever happens to the image while the write waits for
        // the board, the part receives one consistent copy, and the verify compares with it.
        const QByteArray source = image.bytes();
        const AccessOutcome written = m_frame.transfer().write(link, request, source, statusText);
        return m_checks.verifyWritten(link, request, source, written);
    });
}
