#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <utility>

// The PC-side copy of the EEPROM: one byte per address, the only store of its contents.
// The grid and the byte editor are views of it.
class MemoryImage {
public:
    static constexpr std::uint8_t kBlank = 0xFF;

    // Resizes to `size` bytes and sets every byte to the blank value; old contents are dropped.
    void recreate(qint64 size);
    // Takes `bytes` as the whole image, size and all.
    void replace(QByteArray bytes) { m_bytes = std::move(bytes); }

    [[nodiscard]] qint64 size() const { return m_bytes.size(); }
    [[nodiscard]] bool contains(qint64 address) const { return address >= 0 && address < size(); }
    [[nodiscard]] std::uint8_t at(qint64 address) const
    {
        return static_cast<std::uint8_t>(m_bytes.at(address));
    }
    void set(qint64 address, std::uint8_t value) { m_bytes[address] = static_cast<char>(value); }
    [[nodiscard]] const QByteArray& bytes() const { return m_bytes; }

    // `length` bytes from `address`, cut at the image's end.
    [[nodiscard]] QByteArray bytes(qint64 address, qint64 length) const
    {
        return m_bytes.mid(address, length);
    }
    // Overwrites the bytes from `address` with `bytes`; whatever would lie past the end is left
    // out, so the size never changes.
    void write(qint64 address, QByteArrayView bytes);

private:
    QByteArray m_bytes;
};
