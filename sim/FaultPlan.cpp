#include "sim/FaultPlan.h"

namespace {

struct KindName {
    FaultPlan::Kind kind;
    const char* name;
    bool takesChunk;
};

constexpr KindName kKinds[] = {
    {FaultPlan::Kind::NoAnswer, "no-answer", false},
    {FaultPlan::Kind::WrongId, "wrong-id", false},
    {FaultPlan::Kind::ShortId, "short-id", false},
    {FaultPlan::Kind::NoPrepAnswer, "no-prep-answer", false},
    {FaultPlan::Kind::ShortChunk, "short-chunk", true},
    {FaultPlan::Kind::WrongReady, "wrong-ready", true},
    {FaultPlan::Kind::Silence, "silence", true},
    {FaultPlan::Kind::Garbage, "garbage", true},
    {FaultPlan::Kind::Extra, "extra", true},
    {FaultPlan::Kind::Drop, "drop", true},
    {FaultPlan::Kind::HangUp, "hangup", true},
    {FaultPlan::Kind::Flip, "flip", true},
    {FaultPlan::Kind::FlipRead, "flipread", true},
    {FaultPlan::Kind::NoChip, "nochip", false},
};

}  // namespace

bool FaultPlan::add(const QString& text, QString* error)
{
    if (text.startsWith(QLatin1String("random"))) return addRandom(text, error);
    const QString name = text.section(QLatin1Char('@'), 0, 0).trimmed();
    const bool hasCount = text.contains(QLatin1Char('@'));
    for (const KindName& known : kKinds) {
        if (name != QLatin1String(known.name)) continue;
        int chunk = 1;
        if (hasCount) {
            bool ok = false;
            chunk = text.section(QLatin1Char('@'), 1).trimmed().toInt(&ok);
            const int lowest = known.kind == Kind::Silence ? 0 : 1;
            if (!known.takesChunk || !ok || chunk < lowest) {
                *error =
                    QStringLiteral("--fault %1: %2")
                        .arg(text, known.takesChunk ? QStringLiteral("N must be a chunk number")
                                                    : QStringLiteral("this fault takes no @N"));
                return false;
            }
        }
        m_faults.append({known.kind, chunk});
        return true;
    }
    *error = QStringLiteral("--fault %1: unknown; known: %2").arg(text, kindNames().join(", "));
    return false;
}

bool FaultPlan::addRandom(const QString& text, QString* error)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    bool seedOk = false;
    bool rateOk = false;
    const std::uint64_t seed = parts.size() == 3 ? parts.at(1).toULongLong(&seedOk) : 0;
    const double rate = parts.size() == 3 ? parts.at(2).toDouble(&rateOk) : 0;
    if (!seedOk || !rateOk || !(rate > 0 && rate <= 1)) {
        *error = QStringLiteral(
                     "--fault %1: random:SEED:RATE takes a whole number and a "
                     "probability above 0 and at most 1 (random:7:0.01)")
                     .arg(text);
        return false;
    }
    m_random = Random{seed, rate};
    return true;
}

bool FaultPlan::has(Kind kind) const
{
    for (const Fault& fault : m_faults) {
        if (fault.kind == kind) return true;
    }
    return false;
}

bool FaultPlan::strikesAt(Kind kind, int chunk) const
{
    for (const Fault& fault : m_faults) {
        if (fault.kind == kind && fault.chunk == chunk) return true;
    }
    return false;
}

std::optional<int> FaultPlan::silenceAfter() const
{
    std::optional<int> result;
    for (const Fault& fault : m_faults) {
        if (fault.kind == Kind::Silence && (!result || fault.chunk < *result)) result = fault.chunk;
    }
    return result;
}

QStringList FaultPlan::kindNames()
{
    QStringList names;
    for (const KindName& known : kKinds) names.append(QString::fromLatin1(known.name));
    names.append(QStringLiteral("random:SEED:RATE"));
    return names;
}
