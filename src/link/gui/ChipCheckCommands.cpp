#include "link/gui/ChipCheckCommands.h"

#include "base/ProductInfo.h"
#include "base/UserDialogs.h"
#include "devices/SelectedDevice.h"
#include "image/ComparisonView.h"
#include "image/MemoryImage.h"
#include "link/gui/AccessFrame.h"
#include "link/gui/AccessTexts.h"
#include "link/gui/AccessWindow.h"

ChipJobOutcome ChipCheckCommands::Cmd_VERIFY_all_Click()
{
    const AccessFrame::Context& context = m_frame.context();
    ChipJobOrder order;
    order.kind = ChipJobOrder::Kind::Verify;
    order.request = m_frame.request(::AccessMode::Block);
    if (auto refused = m_frame.refusal(order.request, context.image.size())) return *refused;
    order.image = context.image.bytes();
    return m_frame.run(order, [&context](const ChipJobOutcome& job, const QString& text) {
        if (!job.comparison) return;
        context.comparisons.showComparison(*job.comparison, {AccessTexts::verifyCaption(), text,
                                                             AccessTexts::chipColumnCaption()});
    });
}

ChipJobOutcome ChipCheckCommands::mnuBlankCheck_Click()
{
    const std::optional<SelectedDevice>& device = m_frame.context().device;
    ChipJobOrder order;
    order.kind = ChipJobOrder::Kind::BlankCheck;
    if (device) order.request = ChipJobOrder::wholePart(*device);
    if (auto refused = m_frame.refusal(order.request, order.request.accessSize)) return *refused;
    return m_frame.run(order);
}

ChipJobOutcome ChipCheckCommands::mnuErase_Click()
{
    const std::optional<SelectedDevice>& device = m_frame.context().device;
    ChipJobOrder order;
    order.kind = ChipJobOrder::Kind::Erase;
    order.checkAfter = true;
    if (device) order.request = ChipJobOrder::wholePart(*device);
    if (auto refused = m_frame.refusal(order.request, order.request.accessSize)) return *refused;
    if (!confirmErase()) return AccessFrame::declinedByTheUser();
    return m_frame.run(order, [this](const ChipJobOutcome& job, const QString& text) {
        if (job.step == ChipStep::BlankCheck && job.comparison && !job.comparison->matches()) {
            m_frame.warn(AccessTexts::erasedNotBlankWarning(text));
        }
    });
}

bool ChipCheckCommands::confirmErase()
{
    const AccessFrame::Context& context = m_frame.context();
    MessageBoxRequest question;
    question.text =
        AccessTexts::eraseQuestion(context.window.deviceName(), context.device->memorySize());
    question.title = ProductInfo::kApplicationTitle;
    question.icon = MessageIcon::Warning;
    question.buttons = MessageButtons::OkCancel;
    return context.dialogs.showMessage(question) == MessageAnswer::Ok;
}
