#include "link/gui/EepromAccess.h"

#include "base/ProductInfo.h"
#include "base/StatusPanels.h"
#include "base/UserDialogs.h"
#include "devices/PartSizeCheck.h"
#include "devices/SelectedDevice.h"
#include "editing/ImageEditor.h"
#include "image/ComparisonView.h"
#include "image/MemoryImage.h"
#include "image/UnsavedImage.h"
#include "image/gui/UnsavedQuestion.h"
#include "link/gui/AccessFrame.h"
#include "link/gui/AccessTexts.h"
#include "link/gui/AccessWindow.h"

ChipJobOutcome EepromAccess::Cmd_READ_all_Click()
{
    const AccessFrame::Context& context = m_frame.context();
    ChipJobOrder order;
    order.kind = ChipJobOrder::Kind::Read;
    order.request = m_frame.request(::AccessMode::Block);
    const std::int64_t partSize = order.request.device ? order.request.device->memorySize() : 0;
    if (auto refused = m_frame.refusal(order.request, partSize)) return *refused;
    if (!mayDiscard(context.unsaved, context.dialogs)) return AccessFrame::declinedByTheUser();
    // What was read replaces the memory image only once all of it has come: a failed read
    // leaves the image, grid and checksum as they were, so a Block Write after it cannot send
    // a part of 0xFF.
    return m_frame.run(order, [&context](const ChipJobOutcome& job, QString& text) {
        if (!job.succeeded()) return;
        if (job.readAllBlank()) text += AccessTexts::blankReadHint();
        MemoryImage read;
        read.replace(job.chip);
        context.editor.replaceWhole(std::move(read), EditKind::BlockRead);
        context.loadedFileBytes = 0;
        context.panels.setText(1, QString());
        context.window.ShowImage();
    });
}

ChipJobOutcome EepromAccess::Cmd_READ_single_Click()
{
    const AccessFrame::Context& context = m_frame.context();
    ChipJobOrder order;
    order.kind = ChipJobOrder::Kind::Read;
    order.request = m_frame.request(::AccessMode::Byte);
    if (auto refused = m_frame.refusal(order.request, context.image.size())) return *refused;
    return m_frame.run(order, [&context](const ChipJobOutcome& job, QString&) {
        if (!job.succeeded()) return;
        const qint64 address = job.access.firstAddress;
        if (!context.image.contains(address)) return;
        const auto value = static_cast<std::uint8_t>(job.chip.at(address));
        // The image now holds a byte that is in no file.
        context.editor.setByte(address, value, EditKind::ByteRead);
        context.panels.setText(1, QString());
        context.window.showReadByte(value);
    });
}

bool EepromAccess::mayWriteLoadedFile()
{
    const AccessFrame::Context& context = m_frame.context();
    const auto mismatch = partSizeMismatch(context.loadedFileBytes, *context.device);
    if (!mismatch) return true;
    MessageBoxRequest question;
    question.text = AccessTexts::partSizeQuestion(mismatch->fileBytes, mismatch->partBytes);
    question.title = ProductInfo::kApplicationTitle;
    question.icon = MessageIcon::Warning;
    question.buttons = MessageButtons::YesNo;
    return context.dialogs.showMessage(question) == MessageAnswer::Yes;
}

ChipJobOutcome EepromAccess::Cmd_WRITE_all_Click() { return write(::AccessMode::Block); }

ChipJobOutcome EepromAccess::Cmd_WRITE_single_Click() { return write(::AccessMode::Byte); }

ChipJobOutcome EepromAccess::write(::AccessMode mode)
{
    const AccessFrame::Context& context = m_frame.context();
    ChipJobOrder order;
    order.kind = ChipJobOrder::Kind::Write;
    order.request = m_frame.request(mode);
    if (auto refused = m_frame.refusal(order.request, context.image.size())) return *refused;
    if (mode == ::AccessMode::Block && !mayWriteLoadedFile())
        return AccessFrame::declinedByTheUser();
    // The bytes as they stand now: whatever happens to the image while the write waits for the
    // board, the part receives one consistent copy, and the verify compares with it.
    order.image = context.image.bytes();
    order.checkAfter = context.window.verifyAfterWrite();
    return m_frame.run(order, [this, &context](const ChipJobOutcome& job, const QString& text) {
        if (job.step != ChipStep::Verify || !job.access.succeeded() || !job.comparison) return;
        context.comparisons.showComparison(*job.comparison, {AccessTexts::verifyCaption(), text,
                                                             AccessTexts::chipColumnCaption()});
        if (!job.comparison->matches()) m_frame.warn(AccessTexts::verifyAfterWriteWarning(text));
    });
}
