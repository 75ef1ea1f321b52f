#include "sim/LineLog.h"

#include "base/HexText.h"

bool LineLog::open(const QString& path, QString* error)
{
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        *error = QStringLiteral("%1: %2").arg(path, m_file.errorString());
        return false;
    }
    m_clock.start();
    return true;
}

QByteArray LineLog::hexBytes(const QByteArray& bytes)
{
    QByteArray text;
    text.reserve(bytes.size() * 3);
    for (const char byte : bytes) {
        if (!text.isEmpty()) text.append(' ');
        text.append(hexText(static_cast<quint8>(byte), 2).toLatin1());
    }
    return text;
}

void LineLog::line(char direction, const QByteArray& text)
{
    if (!m_file.isOpen()) return;
    const double seconds = static_cast<double>(m_clock.nsecsElapsed()) / 1e9;
    m_file.write(QByteArray::number(seconds, 'f', 6) + ' ' + direction + ' ' + text + '\n');
    // Tests read the log while the emulator runs.
    m_file.flush();
}
