#include "link/ChipCheckCommands.h"

#include "base/ProductInfo.h"
#include "base/TranslatableText.h"
#include "base/UserDialogs.h"
#include "devices/SelectedDevice.h"
#include "image/ComparisonView.h"
#include "image/MemoryImage.h"
#include "link/AccessFrame.h"
#include "link/AccessWindow.h"
#include "link/ChipOperations.h"

namespace {

constexpr TranslatableText kVerifyingText{
    "ChipCheckCommands", QT_TRANSLATE_NOOP("ChipCheckCommands", "ベリファイ中.....")};
constexpr TranslatableText kBlankCheckingText{
    "ChipCheckCommands", QT_TRANSLATE_NOOP("ChipCheckCommands", "ブランクチェック中.....")};
constexpr TranslatableText kErasingText{"ChipCheckCommands",
                                        QT_TRANSLATE_NOOP("ChipCheckCommands", "消去中.....")};

}  // namespace

AccessOutcome ChipCheckCommands::Cmd_VERIFY_all_Click()
{
    const MemoryImage& image = m_frame.context().image;
    const TransferRequest block = m_frame.request(::AccessMode::Block);
    if (auto refused = m_frame.refusal(block, image.size())) return *refused;
    return m_frame.run(::AccessMode::Block, kVerifyingText, [&](const LinkSettings& link) {
        return verify(link, block, image.bytes()).access;
    });
}

CheckOutcome ChipCheckCommands::verify(const LinkSettings& link, const TransferRequest& request,
                                       const QByteArray& expected)
{
    CheckOutcome check = m_frame.operations().verify(link, request, expected, kVerifyingText);
    if (check.access.succeeded()) {
        m_frame.context().comparisons.showComparison(
            check.comparison,
            {QCoreApplication::translate("ChipCheckCommands", "ベリファイ"), check.access.text,
             QCoreApplication::translate("ChipCheckCommands", "チップ")});
    }
    return check;
}

AccessOutcome ChipCheckCommands::verifyWritten(const LinkSettings& link,
                                               const TransferRequest& request,
                                               const QByteArray& source,
                                               const AccessOutcome& written)
{
    if (!written.succeeded() || !m_frame.context().window.verifyAfterWrite() ||
        m_frame.cancelRequested()) {
        return written;
    }
    m_frame.showOutcome(written);
    m_frame.startPhase(kVerifyingText);
    const CheckOutcome check = verify(link, request, source);
    if (check.access.succeeded() && !check.comparison.matches()) {
        m_frame.warn(QCoreApplication::translate(
                         "ChipCheckCommands",
                         "書き込んだデータをチップから読み返すと、一致しませんでした。\n") +
                     check.access.text);
    }
    return check.access;
}

AccessOutcome ChipCheckCommands::mnuBlankCheck_Click()
{
    const TransferRequest whole = ChipOperations::wholePart(m_frame.context().device);
    if (auto refused = m_frame.refusal(whole, whole.accessSize)) return *refused;
    const SelectedDevice device = *whole.device;
    return m_frame.run(::AccessMode::Block, kBlankCheckingText, [&](const LinkSettings& link) {
        return m_frame.operations().blankCheck(link, device, kBlankCheckingText).access;
    });
}

AccessOutcome ChipCheckCommands::mnuErase_Click()
{
    const TransferRequest whole = ChipOperations::wholePart(m_frame.context().device);
    if (auto refused = m_frame.refusal(whole, whole.accessSize)) return *refused;
    if (!confirmErase()) {
        AccessOutcome declined;
        declined.kind = AccessOutcome::Kind::Refused;
        return declined;
    }
    const SelectedDevice device = *whole.device;
    return m_frame.run(::AccessMode::Block, kErasingText, [&](const LinkSettings& link) {
        ChipOperations& operations = m_frame.operations();
        AccessOutcome erased = operations.erase(link, device, kErasingText);
        if (!erased.succeeded()) return erased;
        erased.text = ChipOperations::erasedText(erased.elapsed);
        if (m_frame.cancelRequested()) return erased;
        m_frame.showOutcome(erased);
        m_frame.startPhase(kBlankCheckingText);
        const CheckOutcome check = operations.blankCheck(link, device, kBlankCheckingText);
        if (check.access.succeeded() && !check.comparison.matches()) {
            m_frame.warn(
                QCoreApplication::translate("ChipCheckCommands",
                                            "消去したチップに0xFF以外のバイトが残っています。\n") +
                check.access.text);
        }
        return check.access;
    });
}

bool ChipCheckCommands::confirmErase()
{
    const AccessFrame::Context& context = m_frame.context();
    MessageBoxRequest question;
    question.text =
        QCoreApplication::translate("ChipCheckCommands",
                                    "%1 (%2 バイト) の全体に 0xFF を書き込んで消去します。\n"
                                    "チップの内容は失われます。よろしいですか？")
            .arg(context.window.deviceName())
            .arg(context.device->memorySize());
    question.title = ProductInfo::kApplicationTitle;
    question.icon = MessageIcon::Warning;
    question.buttons = MessageButtons::OkCancel;
    return context.dialogs.showMessage(question) == MessageAnswer::Ok;
}
