#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The cells of the emulated EEPROM. With a backing file every stored byte goes to the file at
// once, so the contents survive the emulator and can be inspected or prepared with any tool.
class PartMemory {
public:
    explicit PartMemory(qint64 size);

    // Uses `path` as the contents: a missing file is created blank (0xFF); an existing one
    // must hold exactly size() bytes. False with `error` set otherwise.
    [[nodiscard]] bool attachFile(const QString& path, QString* error);

    [[nodiscard]] qint64 size() const { return m_bytes.size(); }
    [[nodiscard]] quint8 at(qint64 address) const
    {
        return static_cast<quint8>(m_bytes.at(address));
    }
    [[nodiscard]] const QByteArray& bytes() const { return m_bytes; }

    // Stores `value` at `address` (0 <= address < size()).
    void store(qint64 address, quint8 value);

private:
    QByteArray m_bytes;
    QFile m_file;
};
