#include "link/ProgrammerLink.h"

#include "app/NumberText.h"
#include "app/ProductInfo.h"
#include "app/SettingsStore.h"
#include "app/StatusPanels.h"
#include "app/UserDialogs.h"
#include "link/AccessPackets.h"
#include "link/AccessWindow.h"
#include "link/PortUnusableMessage.h"
#include "link/SerialPort.h"
#include "link/TransferPlan.h"

namespace {

constexpr int kIdentificationLength = 15;
constexpr int kVersionLength = 4;
const QString kBoardName = QStringLiteral("QZ-PGM");
const QString kTimeOutText = QStringLiteral("タイムアウト");
const QString kCheckFailedText = QStringLiteral("プログラマ接続確認エラー。");

QString portText(int portNumber) { return QStringLiteral("COM") + QString::number(portNumber); }

}  // namespace

ProgrammerLink::ProgrammerLink(SerialPort& port, LinkClock& clock, StatusPanels& panels,
                               UserDialogs& dialogs, const SettingsStore& settings,
                               AccessWindow& window)
    : m_port(port),
      m_clock(clock),
      m_panels(panels),
      m_dialogs(dialogs),
      m_settings(settings),
      m_window(window)
{
}

void ProgrammerLink::Wait_Input(int minimum, LinkClock::Duration limit)
{
    const LinkClock::Duration waitStartTime = m_clock.now();
    for (;;) {
        if (m_port.receivedCount() >= minimum) return;
        m_clock.pumpEvents();
        if (m_cancelled) {
            m_timeOutFlag = 1;
            return;
        }
        // Strictly greater: at exactly the limit the wait goes on.
        if (m_clock.now() - waitStartTime > limit) {
            m_timeOutFlag = 1;
            m_panels.setText(1, kTimeOutText);
            return;
        }
        m_clock.sleepUntil(waitStartTime + limit, m_port, minimum);
    }
}

void ProgrammerLink::Read_Version()
{
    using namespace SettingsKeys;
    m_timeOutFlag = 0;
    if (m_port.isOpen()) m_port.close();

    const int portNumber =
        m_settings.getIndex(kSettings, kComNo, 0, 0, SerialPort::kLastPortNumber - 1) + 1;
    m_port.setPortNumber(portNumber);
    m_port.setReceiveMode(SerialPort::ReceiveMode::Text);
    m_port.setRts(m_settings.getSwitch(kSettings, kRts, true));
    m_port.setDtr(m_settings.getSwitch(kSettings, kDtr, false));

    if (!m_port.isOpen()) {
        QString reason;
        if (!m_port.open(&reason)) {
            m_dialogs.showMessage(portUnusableMessage(reason));
            showNotConnected(portNumber, kCheckFailedText + QStringLiteral("【0】"));
            m_timeOutFlag = 1;
            return;
        }
    }

    // An answer to the first query (or one left over from an earlier access) is dropped; only
    // the answer to the second one is read.
    m_port.discard();
    write('?');
    m_clock.pause(kQueryPause);
    m_clock.pumpEvents();
    m_port.discard();
    write('?');

    Wait_Input(kIdentificationReply, kDetectionLimit);
    if (m_cancelled) return;
    if (m_timeOutFlag == 1) {
        showNotConnected(portNumber, kCheckFailedText + QStringLiteral("【") +
                                         QString::number(m_port.receivedCount()) +
                                         QStringLiteral("】"));
        return;
    }

    const QString identification =
        QString::fromLatin1(m_port.takeAll()).left(kIdentificationLength);
    if (!identification.startsWith(kBoardName)) {
        showNotConnected(portNumber, kCheckFailedText);
        m_timeOutFlag = 1;
        return;
    }
    m_panels.setText(2, portText(portNumber) + QStringLiteral(" : ") + identification);

    // A board that cannot follow the commands below is not sent them.
    const std::optional<double> version = parseDecimal(identification.right(kVersionLength));
    if (!version) {
        stopDetection(kCheckFailedText);
        return;
    }
    const auto firmware = static_cast<float>(*version);
    if (firmware != 0.0F && firmware < kMinimumFirmware) {
        MessageBoxRequest message;
        message.text = QStringLiteral(
            "このファームウエアバージョンでは、VORLE6.EXEは使用できません。"
            "ファームウエアバージョン６以上をご使用ください。");
        message.title = ProductInfo::kApplicationTitle;
        message.icon = MessageIcon::None;
        message.buttons = MessageButtons::Ok;
        m_dialogs.showMessage(message);
        stopDetection(kCheckFailedText);
        return;
    }

    m_port.setReceiveMode(SerialPort::ReceiveMode::Bytes);
}

void ProgrammerLink::showNotConnected(int portNumber, const QString& operationText)
{
    m_panels.setText(2, portText(portNumber) + QStringLiteral(" : ライター未接続"));
    m_panels.setText(1, operationText);
}

void ProgrammerLink::stopDetection(const QString& operationText)
{
    m_panels.setText(1, operationText);
    m_timeOutFlag = 1;
}

void ProgrammerLink::Eep_Prepare(std::int32_t family)
{
    m_port.discard();
    write('E');
    m_clock.pause(kCommandPause);
    m_port.write(QByteArray{"e"} + familyDigit(family) + 'P');
    m_timeOutFlag = 0;
    // The answer stays in the receive buffer; the header drops it.
    Wait_Input(1, kReplyLimit);
}

void ProgrammerLink::Send_Access_Header(std::int32_t family, char letter)
{
    m_port.discard();
    write('E');
    m_clock.pause(kCommandPause);
    m_port.write(QByteArray{"e"} + familyDigit(family) + letter);
    m_clock.pause(kCommandPause);
}

void ProgrammerLink::sendAddressPackets(const TransferPlan& plan, bool pumpEvents)
{
    for (const QByteArray& packet : {plan.startPacket(), plan.endPacket()}) {
        m_port.write(packet);
        if (pumpEvents) m_clock.pumpEvents();
        m_clock.pause(kCommandPause);
    }
}

void ProgrammerLink::Lock_Controls()
{
    m_running = true;
    m_cancelled = false;
    m_window.setLockedControlsEnabled(false);
    m_window.setImageCommandsEnabled(false);
    m_panels.setText(1, QString());
    m_panels.setText(2, QString());
    m_timeOutFlag = 0;
}

void ProgrammerLink::Unlock_Controls()
{
    m_window.setLockedControlsEnabled(true);
    m_window.setImageCommandsEnabled(true);
    m_window.focusHexBox();
    if (m_port.isOpen()) m_port.close();
    m_running = false;
}

void ProgrammerLink::cancel()
{
    if (!m_running) return;
    m_cancelled = true;
    m_clock.wake();
}

void ProgrammerLink::write(char byte) { m_port.write(QByteArray(1, byte)); }
