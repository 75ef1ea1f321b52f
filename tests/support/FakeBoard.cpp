#include "support/FakeBoard.h"

#include "support/FakeSerialPort.h"

#include <QTest>

namespace {
QString hexOf(const QByteArray& bytes) { return QString::fromLatin1(bytes.toHex(' ').toUpper()); }
}  // namespace

FakeBoard::FakeBoard(FakeSerialPort& port) : m_port(port)
{
    m_failureHandler = [](const QString& message) {
        QTest::qFail(qPrintable(message), __FILE__, __LINE__);
    };
    m_port.onWrite = [this](const QByteArray& bytes) { onWrite(bytes); };
}

FakeBoard::~FakeBoard() { m_port.onWrite = nullptr; }

QByteArray FakeBoard::identification(const QString& version)
{
    return QByteArray("QZ-PGM Ver ") + version.toLatin1() + "\r\n";
}

FakeBoard& FakeBoard::expect(const QByteArray& bytes)
{
    Step step;
    step.bytes = bytes;
    m_steps.append(step);
    return *this;
}

FakeBoard& FakeBoard::expectAny(int count)
{
    Step step;
    step.anyCount = count;
    m_steps.append(step);
    return *this;
}

FakeBoard::Step& FakeBoard::lastStep()
{
    if (m_steps.isEmpty()) qFatal("FakeBoard: reply() or then() before any expect()");
    return m_steps.last();
}

FakeBoard& FakeBoard::reply(const QByteArray& bytes) { return replyAfter(0, bytes); }

FakeBoard& FakeBoard::replyAfter(int milliseconds, const QByteArray& bytes)
{
    lastStep().replies.append({milliseconds, bytes});
    return *this;
}

FakeBoard& FakeBoard::then(std::function<void(const QByteArray&)> action)
{
    lastStep().action = std::move(action);
    return *this;
}

void FakeBoard::setFailureHandler(std::function<void(const QString&)> handler)
{
    m_failureHandler = std::move(handler);
}

void FakeBoard::onWrite(const QByteArray& bytes)
{
    for (const char byte : bytes) {
        if (failed()) return;
        if (m_current >= m_steps.size()) {
            fail(QStringLiteral("unexpected byte %1 after the script ended (sent: %2)")
                     .arg(hexOf(QByteArray(1, byte)), hexOf(bytes)));
            return;
        }
        Step& step = m_steps[m_current];
        const qsizetype position = step.matched.size();
        if (step.anyCount < 0 && step.bytes.at(position) != byte) {
            fail(QStringLiteral("step %1, byte %2 since the start: expected %3, got %4 "
                                "(step expects %5, matched so far %6)")
                     .arg(m_current + 1)
                     .arg(m_offset + position)
                     .arg(hexOf(step.bytes.mid(position, 1)), hexOf(QByteArray(1, byte)),
                          hexOf(step.bytes), hexOf(step.matched)));
            return;
        }
        step.matched.append(byte);
        if (step.matched.size() < step.length()) continue;
        m_offset += step.length();
        ++m_current;
        for (const auto& [delay, reply] : step.replies) m_port.deliverLater(reply, delay);
        if (step.action) step.action(step.matched);
    }
}

void FakeBoard::fail(const QString& message)
{
    m_failure = QStringLiteral("FakeBoard: ") + message;
    if (m_failureHandler) m_failureHandler(m_failure);
}

bool FakeBoard::finished() const { return !failed() && m_current == m_steps.size(); }

QString FakeBoard::report() const
{
    if (failed()) return m_failure;
    if (m_current == m_steps.size()) return QString();
    const Step& step = m_steps.at(m_current);
    return QStringLiteral("FakeBoard: waiting at step %1 of %2 for %3 (got %4)")
        .arg(m_current + 1)
        .arg(m_steps.size())
        .arg(step.anyCount >= 0 ? QStringLiteral("%1 bytes").arg(step.anyCount) : hexOf(step.bytes),
             hexOf(step.matched));
}
