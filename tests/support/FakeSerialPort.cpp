#include "support/FakeSerialPort.h"

#include <QPointer>
#include <QTimer>

bool FakeSerialPort::open(QString* failureReason)
{
    if (m_open) return true;
    if (!openSucceeds) {
        if (failureReason) *failureReason = openFailureReason;
        return false;
    }
    m_open = true;
    m_received.clear();
    openings.append({m_portNumber, m_rts, m_dtr});
    return true;
}

void FakeSerialPort::close()
{
    if (!m_open) return;
    m_open = false;
    ++closeCount;
}

void FakeSerialPort::write(const QByteArray& bytes)
{
    if (!m_open || bytes.isEmpty()) return;
    written += bytes;
    if (onWrite) onWrite(bytes);
}

QByteArray FakeSerialPort::takeAll()
{
    takeModes.append(m_receiveMode);
    return std::exchange(m_received, {});
}

void FakeSerialPort::deliver(const QByteArray& bytes)
{
    if (!m_open || bytes.isEmpty()) return;
    m_received += bytes;
    emit bytesArrived();
}

void FakeSerialPort::deliverLater(const QByteArray& bytes, int milliseconds)
{
    QPointer<FakeSerialPort> self(this);
    QTimer::singleShot(milliseconds, this, [self, bytes] {
        if (self) self->deliver(bytes);
    });
}
