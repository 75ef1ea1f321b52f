#include "link/EepromAccess.h"

#include "app/ProgramState.h"
#include "app/StatusPanels.h"
#include "link/AccessWindow.h"
#include "link/ProgrammerLink.h"
#include "link/SerialPort.h"
#include "link/TransferPlan.h"

namespace {

const QString kReadErrorText = QStringLiteral("  リードエラー");
const QString kWriteErrorText = QStringLiteral(" ライトエラー");
constexpr char kNextRequest = '@';
constexpr char kReady = '@';

}  // namespace

EepromAccess::EepromAccess(ProgrammerLink& link, ProgramState& state, AccessWindow& window)
    : m_link(link), m_state(state), m_window(window)
{
}

std::int64_t EepromAccess::selectedDeviceSize() const
{
    return m_state.selectedDevice ? m_state.selectedDevice->memorySize() : 0;
}

std::optional<TransferPlan> EepromAccess::plan(::AccessMode mode, std::int64_t imageSize)
{
    if (m_link.running()) return std::nullopt;
    TransferRequest request;
    request.mode = mode;
    request.device = &m_state.selectedDevice;
    request.accessSize = m_window.accessSize();
    if (mode == ::AccessMode::Byte) request.cellAddress = m_window.currentCellAddress();
    request.imageSize = imageSize;
    TransferPlanResult result = planTransfer(request);
    if (!result.plan) m_link.panels().setText(1, result.refusal);
    return result.plan;
}

void EepromAccess::Cmd_READ_all_Click()
{
    // A block read starts from a blank image of the part's size.
    run(::AccessMode::Block, selectedDeviceSize(), QStringLiteral("読み出し中....."),
        &EepromAccess::Eep_Read, true);
}

void EepromAccess::Cmd_READ_single_Click()
{
    run(::AccessMode::Byte, m_state.image.size(), QString(), &EepromAccess::Eep_Read);
}

void EepromAccess::Cmd_WRITE_all_Click()
{
    run(::AccessMode::Block, m_state.image.size(), QStringLiteral("書き込み中....."),
        &EepromAccess::Eep_Write);
}

void EepromAccess::Cmd_WRITE_single_Click()
{
    run(::AccessMode::Byte, m_state.image.size(), QString(), &EepromAccess::Eep_Write);
}

void EepromAccess::run(::AccessMode mode, std::int64_t imageSize, const QString& statusText,
                       void (EepromAccess::*transfer)(const TransferPlan&), bool startBlank)
{
    const std::optional<TransferPlan> planned = plan(mode, imageSize);
    if (!planned) return;
    m_link.Lock_Controls();
    if (!statusText.isEmpty()) m_link.panels().setText(1, statusText);
    if (startBlank) m_state.image.recreate(imageSize);
    m_accessMode = mode;
    (this->*transfer)(*planned);
    m_link.Unlock_Controls();
}

void EepromAccess::Eep_Read(const TransferPlan& plan)
{
    LinkClock& clock = m_link.clock();
    SerialPort& port = m_link.port();
    clock.pumpEvents();
    m_opStartTime = clock.now().count();
    m_link.setTimeOutFlag(0);

    m_link.Read_Version();
    if (m_link.TimeOutFlag() == 1) return;
    clock.pumpEvents();
    m_link.Eep_Prepare(plan.family);
    if (m_link.cancelled()) return endWithError(kReadErrorText);
    m_link.Send_Access_Header(plan.family, readLetter(plan.commandVariant));
    m_link.sendAddressPackets(plan, true);

    std::int64_t current = plan.start;
    std::uint8_t lastByte = 0;
    int shown = 0;
    do {
        m_link.Wait_Input(plan.chunkCount, ProgrammerLink::kReplyLimit);
        if (m_link.TimeOutFlag() == 1) return endWithError(kReadErrorText);
        // Bytes past the chunk are dropped: the board sends the next chunk only after "@".
        const QByteArray chunk = port.takeAll();
        for (int i = 0; i < plan.chunkCount; ++i) {
            if (i >= chunk.size() || !m_state.image.contains(current)) {
                m_link.setTimeOutFlag(1);
                return endWithError(kReadErrorText);
            }
            lastByte = static_cast<std::uint8_t>(chunk.at(i));
            m_state.image.set(current, lastByte);
            ++current;
        }
        clock.pumpEvents();
        port.discard();
        port.write(QByteArray(1, kNextRequest));
        showProgress(current, plan, shown);
    } while (current <= plan.end);

    m_link.panels().setText(1, QString());
    if (plan.mode == ::AccessMode::Byte) {
        m_window.showReadByte(lastByte);
    } else {
        m_window.ShowImage();
    }
    m_link.panels().setText(1, elapsedText(QStringLiteral("読み出し終了。 (")));
    m_link.Unlock_Controls();
}

void EepromAccess::Eep_Write(const TransferPlan& plan)
{
    LinkClock& clock = m_link.clock();
    SerialPort& port = m_link.port();
    m_opStartTime = clock.now().count();
    m_link.setTimeOutFlag(0);

    m_link.Read_Version();
    if (m_link.TimeOutFlag() == 1) return;
    m_link.Eep_Prepare(plan.family);
    if (m_link.cancelled()) return endWithError(kWriteErrorText);
    m_link.Send_Access_Header(plan.family, writeLetter(plan.commandVariant));
    m_link.sendAddressPackets(plan, false);

    // The bytes as they stand now: whatever happens to the image while the write waits for
    // the board, the part receives one consistent copy.
    const QByteArray source = m_state.image.bytes();
    std::int64_t current = plan.start;
    int shown = 0;
    do {
        clock.pumpEvents();
        m_link.Wait_Input(1, ProgrammerLink::kReplyLimit);
        if (m_link.TimeOutFlag() == 1) return endWithError(kWriteErrorText);
        const QByteArray ready = port.takeAll();
        if (ready.isEmpty() || ready.at(0) != kReady || current + plan.chunkCount > source.size()) {
            m_link.setTimeOutFlag(1);
            return endWithError(kWriteErrorText);
        }
        port.write(source.mid(current, plan.chunkCount));
        current += plan.chunkCount;
        showProgress(current, plan, shown);
    } while (current <= plan.end);

    m_link.panels().setText(1, elapsedText(QStringLiteral("書き込み終了。 (")));
    m_link.Unlock_Controls();
}

void EepromAccess::showProgress(std::int64_t current, const TransferPlan& plan, int& shown)
{
    const int percent = progressPercent(current, plan.start, plan.end);
    if (percent == shown) return;
    m_link.panels().setText(3, QString::number(percent) + QStringLiteral("%"));
    shown = percent;
}

QString EepromAccess::elapsedText(const QString& prefix) const
{
    const auto elapsed = m_link.clock().now() - LinkClock::Duration{m_opStartTime};
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
    return prefix + QString::number(seconds < 0 ? 0 : seconds) + QStringLiteral("sec)");
}

void EepromAccess::endWithError(const QString& errorText)
{
    StatusPanels& panels = m_link.panels();
    panels.setText(1, panels.text(1) + errorText);
    m_link.Unlock_Controls();
}
