#pragma once

#include <QtGlobal>

#include <algorithm>

// A run of image addresses [start, start + length). Empty when its length is 0 or less.
struct AddressRange {
    qint64 start = 0;
    qint64 length = 0;

    // The range from one address to another, both included, in either order.
    [[nodiscard]] static AddressRange between(qint64 a, qint64 b)
    {
        return {std::min(a, b), std::max(a, b) - std::min(a, b) + 1};
    }
    // The range from `start` up to `end`, not included.
    [[nodiscard]] static AddressRange upTo(qint64 start, qint64 end)
    {
        return {start, end - start};
    }

    [[nodiscard]] bool isEmpty() const { return length <= 0; }
    // One past the last address.
    [[nodiscard]] qint64 end() const { return start + length; }
    // The last address; start - 1 when empty.
    [[nodiscard]] qint64 last() const { return start + length - 1; }
    [[nodiscard]] bool contains(qint64 address) const
    {
        return address >= start && address < end();
    }
    // The part that lies inside an image of `size` bytes.
    [[nodiscard]] AddressRange clippedTo(qint64 size) const
    {
        const qint64 from = std::clamp<qint64>(start, 0, size);
        const qint64 to = std::clamp<qint64>(end(), from, size);
        return {from, to - from};
    }
    // The smallest range holding both; an empty range adds nothing.
    [[nodiscard]] AddressRange spanWith(const AddressRange& other) const
    {
        if (other.isEmpty()) return *this;
        if (isEmpty()) return other;
        return upTo(std::min(start, other.start), std::max(end(), other.end()));
    }

    friend bool operator==(const AddressRange& a, const AddressRange& b)
    {
        return a.start == b.start && a.length == b.length;
    }
    friend bool operator!=(const AddressRange& a, const AddressRange& b) { return !(a == b); }
};
