#include "production/FailurePolicy.h"

QString failurePolicyName(FailurePolicy policy)
{
    return policy == FailurePolicy::Reuse ? QStringLiteral("reuse") : QStringLiteral("burn");
}

std::optional<FailurePolicy> failurePolicyNamed(const QString& name)
{
    if (name == QLatin1String("burn")) return FailurePolicy::Burn;
    if (name == QLatin1String("reuse")) return FailurePolicy::Reuse;
    return std::nullopt;
}
