#pragma once

#include <QString>

#include <optional>

// What happens to the numbers of a chip that failed: burnt (never issued again, since the
// chip may hold them) or given to the next chip.
enum class FailurePolicy { Burn, Reuse };

// "burn", "reuse": the job file's and the command line's words.
[[nodiscard]] QString failurePolicyName(FailurePolicy policy);
[[nodiscard]] std::optional<FailurePolicy> failurePolicyNamed(const QString& name);
