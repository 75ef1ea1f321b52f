#pragma once

#include <QLatin1String>
#include <QString>

#include <array>
#include <cstddef>
#include <optional>
#include <utility>

// The words that stand for an enumeration's values in files and on the command line, one pair
// per value: wordOf() and valueOfWord() go either way.
template <typename Value, std::size_t Size>
using WordTable = std::array<std::pair<Value, const char*>, Size>;

// The word of `value`; empty when the table lacks it.
template <typename Value, std::size_t Size>
[[nodiscard]] QString wordOf(const WordTable<Value, Size>& table, Value value)
{
    for (const auto& [entry, word] : table) {
        if (entry == value) return QString::fromLatin1(word);
    }
    return {};
}

// The value whose word is `word`, exactly as written.
template <typename Value, std::size_t Size>
[[nodiscard]] std::optional<Value> valueOfWord(const WordTable<Value, Size>& table,
                                               const QString& word)
{
    for (const auto& [entry, text] : table) {
        if (word == QLatin1String(text)) return entry;
    }
    return std::nullopt;
}
