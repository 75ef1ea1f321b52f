#include "sim/BoardFirmware.h"

#include "base/HexText.h"
#include "sim/PartMemory.h"

#include <algorithm>

namespace {

const QByteArray kNoise = QByteArray::fromHex("00FF55AA7E813CC3");
const QByteArray kExtra = QByteArray::fromHex("11223344");
constexpr char kRequest = '@';

// `family` is the digit of the access command as the PC sent it.
qint64 packetAddress(const QByteArray& packet, int family)
{
    const auto byte = [&](int i) { return qint64{static_cast<quint8>(packet.at(i))}; };
    const qint64 high = family == static_cast<int>(BusFamily::Microwire) ? 0 : byte(1) << 16;
    return high | byte(2) << 8 | byte(3);
}

QString addressText(qint64 address) { return QStringLiteral("0x") + hexText(address, 6); }

}  // namespace

BoardFirmware::BoardFirmware(const SocketPart& part, PartMemory& memory, Config config)
    : m_part(part), m_config(std::move(config))
{
    if (part.family == BusFamily::Microwire) {
        m_microwire = std::make_unique<MicrowireEeprom>(memory, part.sizeExponent);
    } else {
        m_i2c = std::make_unique<I2cEeprom>(memory, part.sizeExponent, part.pageSize);
    }
    if (const auto& random = m_config.faults.random()) m_random.emplace(random->seed, random->rate);
}

BoardFirmware::~BoardFirmware() = default;

void BoardFirmware::setFaults(const FaultPlan& faults)
{
    m_config.faults = faults;
    m_random.reset();
    if (const auto& random = m_config.faults.random()) m_random.emplace(random->seed, random->rate);
}

QByteArray BoardFirmware::identification(const QString& version)
{
    return QByteArray("QZ-PGM Ver ") + version.toLatin1().left(4).leftJustified(4, ' ');
}

std::vector<BoardFirmware::Output> BoardFirmware::takeOutput()
{
    return std::exchange(m_output, {});
}

QStringList BoardFirmware::takeEvents() { return std::exchange(m_events, {}); }

void BoardFirmware::send(const QByteArray& bytes, std::chrono::microseconds quietBefore)
{
    m_output.push_back({bytes, quietBefore, false});
}

void BoardFirmware::receive(const QByteArray& bytes)
{
    for (const char byte : bytes) receiveByte(byte);
}

void BoardFirmware::receiveByte(char byte)
{
    if (m_config.faults.has(FaultPlan::Kind::NoAnswer) || m_lineDown) return;
    switch (m_state) {
        case State::Idle:
            idleByte(byte);
            break;
        case State::Command:
            commandByte(byte);
            break;
        case State::Packets:
            packetByte(byte);
            break;
        case State::AwaitRequest:
            if (byte == kRequest) {
                sendReadChunk();
            } else {
                abandon(QStringLiteral("read abandoned: %1 instead of the request")
                            .arg(hexText(static_cast<quint8>(byte), 2)));
                idleByte(byte);
            }
            break;
        case State::AwaitChunk:
            chunkByte(byte);
            break;
        case State::Silent:
            break;
    }
}

void BoardFirmware::idleByte(char byte)
{
    if (byte == '?') {
        QByteArray reply = identification(m_config.firmwareVersion) + "\r\n";
        if (m_config.faults.has(FaultPlan::Kind::WrongId)) reply.replace(0, 6, "ZQ-PGM");
        if (m_config.faults.has(FaultPlan::Kind::ShortId)) reply.truncate(16);
        send(reply);
    } else if (byte == 'E') {
        m_state = State::Command;
        m_frame.clear();
    } else {
        event(QStringLiteral("ignored %1").arg(hexText(static_cast<quint8>(byte), 2)));
    }
}

void BoardFirmware::commandByte(char byte)
{
    m_frame.append(byte);
    if (m_frame.size() == 1 && byte != 'e') {
        m_state = State::Idle;
        event(QStringLiteral("\"E\" not followed by \"e\""));
        idleByte(byte);
        return;
    }
    if (m_frame.size() < 3) return;
    const char digit = m_frame.at(1);
    const char letter = m_frame.at(2);
    m_state = State::Idle;
    if (digit != '2' && digit != '3') {
        event(QStringLiteral("unknown family %1").arg(hexText(static_cast<quint8>(digit), 2)));
        return;
    }
    const int family = digit - '0';
    if (letter == 'P') {
        m_preparedFamily = family;
        event(QStringLiteral("prepared for family %1").arg(family));
        if (!m_config.faults.has(FaultPlan::Kind::NoPrepAnswer)) send("P");
        return;
    }
    if (!QByteArray("RrWw").contains(letter)) {
        event(QStringLiteral("unknown command %1").arg(hexText(static_cast<quint8>(letter), 2)));
        return;
    }
    m_family = family;
    m_letter = letter;
    m_writing = letter == 'W' || letter == 'w';
    m_frame.clear();
    m_state = State::Packets;
}

void BoardFirmware::packetByte(char byte)
{
    m_frame.append(byte);
    if (m_frame.size() < 8) return;
    m_state = State::Idle;
    const QByteArray startPacket = m_frame.left(4);
    const QByteArray endPacket = m_frame.mid(4);
    m_chunkSize = static_cast<quint8>(startPacket.at(0));
    if (m_chunkSize == 0) {
        event(QStringLiteral("chunk size 0: command ignored"));
        return;
    }
    m_addressParam = static_cast<quint8>(startPacket.at(1));
    m_start = packetAddress(startPacket, m_family);
    m_end = packetAddress(endPacket, m_family);
    m_chunksTotal = m_end >= m_start ? static_cast<int>((m_end - m_start) / m_chunkSize) + 1 : 1;
    m_chunksDone = 0;
    startTransfer();
}

void BoardFirmware::chunkByte(char byte)
{
    const int number = m_chunksDone + 1;
    const int index = m_chunkBytesIn++;
    if (m_chunkFault && m_chunkFault->byteIndex == index &&
        m_chunkFault->kind != RandomFaults::Kind::FlipWrite) {
        const RandomFaults::Fault fault = *std::exchange(m_chunkFault, std::nullopt);
        switch (fault.kind) {
            case RandomFaults::Kind::DropByte:
                event(QStringLiteral("fault: random byte dropped from write chunk %1").arg(number));
                return;
            case RandomFaults::Kind::HangUp:
                event(QStringLiteral("fault: random hang-up inside write chunk %1").arg(number));
                hangUp({});
                return;
            default:
                event(
                    QStringLiteral("fault: random extra bytes inside write chunk %1").arg(number));
                for (const char noise : fault.noise) receiveByte(noise);
                receiveByte(byte);
                return;
        }
    }
    m_frame.append(byte);
    if (m_frame.size() == m_chunkSize / 2) {
        if (m_config.faults.strikesAt(FaultPlan::Kind::Drop, number)) {
            event(QStringLiteral("fault: line dropped inside write chunk %1").arg(number));
            m_output.push_back({QByteArray(), {}, true});
            m_state = State::Silent;
            return;
        }
        if (m_config.faults.strikesAt(FaultPlan::Kind::HangUp, number)) {
            event(QStringLiteral("fault: line hung up inside write chunk %1").arg(number));
            hangUp({});
            return;
        }
    }
    if (m_frame.size() == m_chunkSize) finishChunk();
}

void BoardFirmware::startTransfer()
{
    event(QStringLiteral("%1 \"%2\" family %3 %4..%5 chunk %6, %7 chunks")
              .arg(m_writing ? "write" : "read")
              .arg(QLatin1Char(m_letter))
              .arg(m_family)
              .arg(addressText(m_start), addressText(m_end))
              .arg(m_chunkSize)
              .arg(m_chunksTotal));
    if (m_config.faults.has(FaultPlan::Kind::NoChip)) {
        event(QStringLiteral("fault: no part in the socket"));
    } else if (m_writing && m_config.writeProtect) {
        event(QStringLiteral("the part is write-protected: nothing is stored"));
    } else if (!reachesPart()) {
        event(m_preparedFamily != m_family
                  ? QStringLiteral("board not prepared for family %1: the part is not reached")
                        .arg(m_family)
                  : QStringLiteral("the part in the socket is family %1: it does not answer")
                        .arg(static_cast<int>(m_part.family)));
    }
    if (m_writing) {
        sendReady({});
    } else {
        sendReadChunk();
    }
}

std::optional<RandomFaults::Fault> BoardFirmware::randomFault(int chunkNumber)
{
    if (!m_random) return std::nullopt;
    auto fault = m_random->next(m_writing, m_chunkSize);
    if (fault && fault->kind == RandomFaults::Kind::Stall) {
        event(QStringLiteral("fault: random stall before %1 chunk %2")
                  .arg(m_writing ? "write" : "read")
                  .arg(chunkNumber));
        m_state = State::Silent;
    }
    return fault;
}

void BoardFirmware::hangUp(const QByteArray& bytesBefore)
{
    Output output;
    output.bytes = bytesBefore;
    output.hangUp = true;
    m_output.push_back(output);
    m_lineDown = true;
}

bool BoardFirmware::silentFrom(int chunkNumber)
{
    const auto after = m_config.faults.silenceAfter();
    if (!after || chunkNumber <= *after) return false;
    event(QStringLiteral("fault: silent after %1 chunks").arg(*after));
    m_state = State::Silent;
    return true;
}

void BoardFirmware::sendReadChunk()
{
    if (m_chunksDone == m_chunksTotal) {
        event(QStringLiteral("read finished"));
        m_state = State::Idle;
        return;
    }
    const int number = m_chunksDone + 1;
    if (silentFrom(number)) return;
    const auto random = randomFault(number);
    if (m_state == State::Silent) return;
    const FaultPlan& faults = m_config.faults;
    QByteArray chunk = readPart(m_start + qint64{m_chunksDone} * m_chunkSize, m_chunkSize);
    if (faults.strikesAt(FaultPlan::Kind::Garbage, number)) send(kNoise);
    if (faults.strikesAt(FaultPlan::Kind::Drop, number)) {
        event(QStringLiteral("fault: line dropped inside read chunk %1").arg(number));
        m_output.push_back({chunk.left(m_chunkSize / 2), {}, true});
        m_state = State::Silent;
        return;
    }
    if (faults.strikesAt(FaultPlan::Kind::HangUp, number)) {
        event(QStringLiteral("fault: line hung up inside read chunk %1").arg(number));
        ++m_chunksDone;
        m_state = State::AwaitRequest;
        hangUp(chunk.left(m_chunkSize / 2));
        return;
    }
    if (faults.strikesAt(FaultPlan::Kind::ShortChunk, number)) chunk.chop(1);
    if (faults.strikesAt(FaultPlan::Kind::FlipRead, number)) {
        event(QStringLiteral("fault: read chunk %1 sent with bit 0 of its first byte flipped")
                  .arg(number));
        chunk[0] = static_cast<char>(chunk.at(0) ^ 0x01);
    }
    if (faults.strikesAt(FaultPlan::Kind::Extra, number)) chunk += kExtra;
    ++m_chunksDone;
    m_state = State::AwaitRequest;
    if (random) {
        event(QStringLiteral("fault: random %1 in read chunk %2")
                  .arg(RandomFaults::kindName(random->kind))
                  .arg(number));
        const int at = std::min(random->byteIndex, static_cast<int>(chunk.size()) - 1);
        switch (random->kind) {
            case RandomFaults::Kind::DropByte:
                chunk.remove(at, 1);
                break;
            case RandomFaults::Kind::ExtraBytes:
                chunk = random->before ? random->noise + chunk : chunk + random->noise;
                break;
            case RandomFaults::Kind::HangUp:
                hangUp(chunk.left(at));
                return;
            default:
                if (at >= 0) chunk[at] = static_cast<char>(chunk.at(at) ^ (1 << random->bit));
                break;
        }
    }
    send(chunk);
}

void BoardFirmware::sendReady(std::chrono::microseconds quietBefore)
{
    const int number = m_chunksDone + 1;
    m_frame.clear();
    m_chunkBytesIn = 0;
    if (silentFrom(number)) return;
    m_chunkFault = randomFault(number);
    if (m_state == State::Silent) return;
    const FaultPlan& faults = m_config.faults;
    QByteArray ready(1, kRequest);
    if (faults.strikesAt(FaultPlan::Kind::WrongReady, number)) ready = "!@";
    if (faults.strikesAt(FaultPlan::Kind::Garbage, number)) ready.prepend(kNoise);
    if (faults.strikesAt(FaultPlan::Kind::Extra, number)) ready += kExtra;
    if (m_chunkFault && m_chunkFault->kind == RandomFaults::Kind::ExtraBytes &&
        m_chunkFault->fromBoard) {
        event(QStringLiteral("fault: random extra bytes %1 the ready byte of write chunk %2")
                  .arg(m_chunkFault->before ? "before" : "after")
                  .arg(number));
        ready = m_chunkFault->before ? m_chunkFault->noise + ready : ready + m_chunkFault->noise;
        m_chunkFault.reset();
    }
    send(ready, quietBefore);
    m_state = State::AwaitChunk;
    if (faults.strikesAt(FaultPlan::Kind::Drop, number) && m_chunkSize / 2 == 0) {
        event(QStringLiteral("fault: line dropped before write chunk %1").arg(number));
        m_output.push_back({QByteArray(), {}, true});
        m_state = State::Silent;
    } else if (faults.strikesAt(FaultPlan::Kind::HangUp, number) && m_chunkSize / 2 == 0) {
        event(QStringLiteral("fault: line hung up before write chunk %1").arg(number));
        hangUp({});
    }
}

void BoardFirmware::finishChunk()
{
    const int number = m_chunksDone + 1;
    if (m_config.faults.strikesAt(FaultPlan::Kind::Flip, number)) {
        event(QStringLiteral("fault: write chunk %1 stored with bit 0 of its first byte flipped")
                  .arg(number));
        m_frame[0] = static_cast<char>(m_frame.at(0) ^ 0x01);
    }
    if (m_chunkFault && m_chunkFault->kind == RandomFaults::Kind::FlipWrite) {
        event(QStringLiteral("fault: random bit flipped while writing chunk %1").arg(number));
        const int at = m_chunkFault->byteIndex;
        m_frame[at] = static_cast<char>(m_frame.at(at) ^ (1 << m_chunkFault->bit));
    }
    m_chunkFault.reset();
    writePart(m_start + qint64{m_chunksDone} * m_chunkSize, m_frame);
    ++m_chunksDone;
    const auto quiet = programmingTime(m_chunkSize);
    if (m_chunksDone < m_chunksTotal) {
        sendReady(quiet);
        return;
    }
    event(QStringLiteral("write finished"));
    m_state = State::Idle;
    if (m_config.readyAfterLast) send(QByteArray(1, kRequest), quiet);
}

void BoardFirmware::abandon(const QString& why)
{
    if (m_state == State::AwaitChunk && !m_frame.isEmpty()) {
        event(QStringLiteral("torn write chunk %1: %2 of %3 bytes, nothing programmed")
                  .arg(m_chunksDone + 1)
                  .arg(m_frame.size())
                  .arg(m_chunkSize));
    }
    event(why);
    m_state = State::Idle;
    m_frame.clear();
}

void BoardFirmware::lineClosed()
{
    m_lineDown = false;
    if (m_state == State::Idle) return;
    if (m_state == State::AwaitChunk && !m_config.forgiving) {
        const qint64 missing = qint64{m_chunksTotal - m_chunksDone} * m_chunkSize - m_frame.size();
        event(QStringLiteral("port closed: the write still waits for %1 bytes").arg(missing));
        return;
    }
    abandon(QStringLiteral("port closed: transfer abandoned"));
}

void BoardFirmware::lineQuiet()
{
    if (inPartialFrame()) abandon(QStringLiteral("line quiet: transfer abandoned"));
}

bool BoardFirmware::inPartialFrame() const
{
    return m_state == State::Command || m_state == State::Packets || m_state == State::Silent ||
           (m_state == State::AwaitChunk && !m_frame.isEmpty() && m_config.forgiving);
}

void BoardFirmware::powerCycle()
{
    event(QStringLiteral("switched off and on"));
    m_state = State::Idle;
    m_frame.clear();
    m_preparedFamily = 0;
    m_chunkFault.reset();
    m_lineDown = false;
    m_output.clear();
}

bool BoardFirmware::reachesPart() const
{
    // The data lines of an empty socket float high: nothing is stored, every byte reads 0xFF.
    return !m_config.faults.has(FaultPlan::Kind::NoChip) && m_preparedFamily == m_family &&
           m_family == static_cast<int>(m_part.family);
}

QByteArray BoardFirmware::readPart(qint64 address, int count)
{
    if (!reachesPart()) return QByteArray(count, static_cast<char>(0xFF));
    if (m_microwire) return m_microwire->read(m_addressParam, static_cast<quint32>(address), count);
    if (m_letter == 'R') {
        const auto device = static_cast<quint8>(0xA0 | ((address >> 8) & 0x07) << 1);
        return m_i2c->read(device, QByteArray(1, static_cast<char>(address & 0xFF)), count);
    }
    const auto device = static_cast<quint8>(0xA0 | ((address >> 16) & 0x01) << 1);
    QByteArray word;
    word.append(static_cast<char>((address >> 8) & 0xFF));
    word.append(static_cast<char>(address & 0xFF));
    return m_i2c->read(device, word, count);
}

void BoardFirmware::writePart(qint64 address, const QByteArray& bytes)
{
    if (!reachesPart() || m_config.writeProtect) return;
    if (m_microwire) {
        m_microwire->write(m_addressParam, static_cast<quint32>(address), bytes);
        return;
    }
    if (m_letter == 'W') {
        const auto device = static_cast<quint8>(0xA0 | ((address >> 8) & 0x07) << 1);
        m_i2c->write(device, QByteArray(1, static_cast<char>(address & 0xFF)) + bytes);
        return;
    }
    const auto device = static_cast<quint8>(0xA0 | ((address >> 16) & 0x01) << 1);
    QByteArray message;
    message.append(static_cast<char>((address >> 8) & 0xFF));
    message.append(static_cast<char>(address & 0xFF));
    m_i2c->write(device, message + bytes);
}

std::chrono::microseconds BoardFirmware::programmingTime(int byteCount) const
{
    if (!m_config.programmingTime) return {};
    // Microwire programs byte by byte; an I2C page in one cycle.
    return m_microwire ? m_part.writeCycle * byteCount : m_part.writeCycle;
}
