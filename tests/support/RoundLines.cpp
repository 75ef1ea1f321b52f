#include "support/RoundLines.h"

#include "image/MemoryImage.h"
#include "support/SharedFakeClock.h"

#include <QSet>

#include <chrono>

namespace {

using namespace std::chrono_literals;

constexpr qint64 kSerialAddress = 0x10;
constexpr int kSerialLength = 8;

// A port that does something of the test's before one of the PC's writes.
class HookedPort final : public EmulatedPort {
public:
    HookedPort(EmulatedBoards& boards, int writes, std::function<void()> action)
        : EmulatedPort(boards), m_writes(writes), m_action(std::move(action))
    {
    }

    void write(const QByteArray& bytes) override
    {
        if (--m_writes == 0) m_action();
        EmulatedPort::write(bytes);
    }

private:
    int m_writes = 0;
    std::function<void()> m_action;
};

}  // namespace

RoundLines::RoundLines(const QStringList& paths, const QString& part) : m_paths(paths), m_part(part)
{
    for (qsizetype i = 0; i < paths.size(); ++i) m_lines.push_back(std::make_unique<Line>());
    nextRound({});
}

RoundLines::Line& RoundLines::line(const QString& path) const
{
    const qsizetype index = m_paths.indexOf(path);
    if (index < 0) qFatal("no line %s", qPrintable(path));
    return *m_lines.at(static_cast<std::size_t>(index));
}

void RoundLines::nextRound(const QList<QStringList>& faults)
{
    for (qsizetype i = 0; i < m_paths.size(); ++i) {
        Line& each = *m_lines.at(static_cast<std::size_t>(i));
        each.rounds.push_back(std::make_unique<EmulatedBoards>(each.clock));
        each.rounds.back()->add(m_paths.at(i), EmulatedBoards::part(m_part),
                                EmulatedBoards::faults(faults.value(i)));
    }
}

void RoundLines::atWrite(int index, int writes, std::function<void()> action)
{
    Line& each = *m_lines.at(static_cast<std::size_t>(index));
    each.actionWrites = writes;
    each.action = std::move(action);
}

void RoundLines::settle()
{
    for (const auto& each : m_lines) each->clock.advance(1s);
}

EmulatedBoard& RoundLines::board(int index) const
{
    const Line& each = *m_lines.at(static_cast<std::size_t>(index));
    return *each.rounds.back()->at(m_paths.at(index));
}

QList<LinkSettings> RoundLines::links() const
{
    QList<LinkSettings> links;
    for (const QString& path : m_paths) {
        LinkSettings link;
        link.devicePath = path;
        links.append(link);
    }
    return links;
}

std::unique_ptr<SerialPort> RoundLines::makePort(const LinkSettings& link)
{
    Line& each = line(link.devicePath);
    if (each.actionWrites > 0) {
        return std::make_unique<HookedPort>(
            *each.rounds.back(), std::exchange(each.actionWrites, 0), std::move(each.action));
    }
    return std::make_unique<EmulatedPort>(*each.rounds.back());
}

std::unique_ptr<LinkClock> RoundLines::makeClock(const LinkSettings& link)
{
    return std::make_unique<SharedFakeClock>(line(link.devicePath).clock);
}

ProductionJob roundJob(const QString& part, FailurePolicy policy)
{
    const SocketPart socket = EmulatedBoards::part(part);
    ProductionJob job;
    job.name = QStringLiteral("rounds");
    job.path = QStringLiteral("/jobs/rounds.json");
    job.sha256 = QString(64, QLatin1Char('c'));
    job.partName = part;
    job.partSize = socket.size();
    job.imageSha256 = QString(64, QLatin1Char('d'));
    job.image = QByteArray(job.partSize, '\0');
    for (qint64 i = 0; i < job.partSize; ++i) job.image[i] = static_cast<char>((i * 13 + 7) & 0xFF);
    job.length = job.partSize;
    job.verify = true;
    job.onFailure = policy;
    SerialField field;
    field.name = QStringLiteral("serial");
    field.series = QStringLiteral("rounds.serial");
    field.address = kSerialAddress;
    field.length = kSerialLength;
    field.start = 1;
    field.last = 99999999;
    job.serials.append(field);
    return job;
}

QStringList randomFaults(std::mt19937& random, int chunks)
{
    static const QStringList kinds{"silence", "drop", "flip", "garbage", "wrong-ready", "nochip"};
    if (std::uniform_int_distribution<int>(0, 1)(random) == 0) return {};
    const QString kind = kinds.at(std::uniform_int_distribution<int>(0, 5)(random));
    if (kind == QLatin1String("nochip")) return {kind};
    const int first = kind == QLatin1String("silence") ? 0 : 1;
    const int chunk = std::uniform_int_distribution<int>(first, chunks)(random);
    return {kind + QLatin1Char('@') + QString::number(chunk)};
}

QString judgeRound(const RoundResult& result, const EmulatedBoard& board, const ProductionJob& job,
                   const QStringList& faults)
{
    if (result.kind != RoundResult::Kind::Recorded) {
        return QStringLiteral("not recorded (kind %1)").arg(static_cast<int>(result.kind));
    }
    const ChipRecord& record = result.record;
    const QByteArray chip = board.contents();
    const QString serial = record.serials.value(0).text;
    QByteArray expected = job.image;
    expected.replace(kSerialAddress, kSerialLength, serial.toLatin1());
    switch (record.result) {
        case ChipResult::Verified:
            if (chip != expected) return QStringLiteral("verified, but the chip differs");
            return {};
        case ChipResult::Mismatch: {
            if (!record.mismatch) return QStringLiteral("a mismatch without its address");
            const FirstMismatch& first = *record.mismatch;
            if (static_cast<quint8>(chip.at(first.address)) != first.actual ||
                static_cast<quint8>(expected.at(first.address)) != first.expected ||
                first.actual == first.expected) {
                return QStringLiteral("the first mismatch is not what the chip holds");
            }
            break;
        }
        case ChipResult::Failed:
            if (!record.writtenTo) return QStringLiteral("failed, but not how far it got");
            break;
        case ChipResult::NotWritten:
            if (record.writtenTo || chip != QByteArray(chip.size(), char(MemoryImage::kBlank))) {
                return QStringLiteral("not written, but the chip was");
            }
            break;
        case ChipResult::Pending:
        case ChipResult::Written:
            return QStringLiteral("result %1").arg(chipResultName(record.result));
    }
    if (faults.isEmpty())
        return QStringLiteral("no fault, yet %1").arg(chipResultName(record.result));
    return {};
}

QStringList numbersIssuedTwice(const QList<ChipRecord>& records)
{
    QSet<QString> held;
    QStringList twice;
    for (const ChipRecord& record : records) {
        if (record.numbers == NumberFate::Returned) continue;
        for (const SerialValue& value : record.serials) {
            const QString key = value.field + QLatin1Char('=') + value.text;
            if (held.contains(key)) twice.append(key);
            held.insert(key);
        }
    }
    return twice;
}
