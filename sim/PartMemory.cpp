#include "sim/PartMemory.h"

PartMemory::PartMemory(qint64 size) : m_bytes(size, static_cast<char>(0xFF)) {}

bool PartMemory::attachFile(const QString& path, QString* error)
{
    m_file.setFileName(path);
    const bool existed = m_file.exists();
    if (!m_file.open(QIODevice::ReadWrite)) {
        *error = QStringLiteral("%1: %2").arg(path, m_file.errorString());
        return false;
    }
    if (!existed || m_file.size() == 0) {
        if (m_file.write(m_bytes) != m_bytes.size() || !m_file.flush()) {
            *error = QStringLiteral("%1: %2").arg(path, m_file.errorString());
            return false;
        }
        return true;
    }
    if (m_file.size() != size()) {
        *error = QStringLiteral("%1 holds %2 bytes, the part has %3")
                     .arg(path)
                     .arg(m_file.size())
                     .arg(size());
        m_file.close();
        return false;
    }
    m_bytes = m_file.readAll();
    return true;
}

void PartMemory::store(qint64 address, quint8 value)
{
    m_bytes[address] = static_cast<char>(value);
    if (m_file.isOpen() && m_file.seek(address)) {
        m_file.write(m_bytes.constData() + address, 1);
        m_file.flush();
    }
}
