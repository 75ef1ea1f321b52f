#pragma once

#include <QString>

#include <optional>

// The number of write cycles that a data file's endurance word stands for: a whole number,
// with 万 (ten thousand) or 億 (hundred million) after it as Japanese writes large numbers,
// and 回 ("times") at the end: "100万回" is 1,000,000. Nothing for any other word.
[[nodiscard]] std::optional<qint64> enduranceCycles(const QString& word);
