#include "support/EmulatedBoards.h"

#include "support/FakeLinkClock.h"

#include <QTest>

namespace {

// A command, packet or chunk that stops arriving for this long is abandoned by the board.
constexpr auto kQuietAbandon = std::chrono::seconds{2};

}  // namespace

EmulatedBoard::EmulatedBoard(const SocketPart& part, BoardFirmware::Config config)
    : m_part(part), m_memory(part.size()), m_firmware(part, m_memory, std::move(config))
{
}

void EmulatedBoard::setContents(const QByteArray& bytes)
{
    for (qint64 address = 0; address < m_memory.size() && address < bytes.size(); ++address) {
        m_memory.store(address, static_cast<quint8>(bytes.at(address)));
    }
}

void EmulatedBoard::powerCycle()
{
    m_firmware.powerCycle();
    m_events += m_firmware.takeEvents();
    ++m_power;
}

void EmulatedBoard::setFaults(const QStringList& faults)
{
    m_firmware.setFaults(EmulatedBoards::faults(faults).faults);
}

void EmulatedBoard::receiveUnheard(const QByteArray& bytes, int power)
{
    if (m_gone || power != m_power) return;
    m_firmware.receive(bytes);
    m_events += m_firmware.takeEvents();
    Q_UNUSED(m_firmware.takeOutput());
}

void EmulatedBoard::closeUnheard()
{
    m_firmware.lineClosed();
    m_events += m_firmware.takeEvents();
    Q_UNUSED(m_firmware.takeOutput());
}

EmulatedBoard& EmulatedBoards::add(const QString& path, const SocketPart& part,
                                   BoardFirmware::Config config)
{
    config.programmingTime = true;
    auto board = std::make_shared<EmulatedBoard>(part, std::move(config));
    m_boards.insert(path, board);
    return *board;
}

EmulatedBoard* EmulatedBoards::at(const QString& path) const
{
    const auto found = m_boards.find(path);
    return found == m_boards.end() ? nullptr : found->get();
}

SocketPart EmulatedBoards::part(const QString& name)
{
    QString error;
    const std::optional<SocketPart> part =
        SocketPart::fromDataFile(QStringLiteral(VORLE_DATA_FILE), name, &error);
    if (!part) qFatal("no part %s: %s", qPrintable(name), qPrintable(error));
    return *part;
}

BoardFirmware::Config EmulatedBoards::faults(const QStringList& faults, const QString& firmware)
{
    BoardFirmware::Config config;
    config.firmwareVersion = firmware;
    for (const QString& fault : faults) {
        QString error;
        if (!config.faults.add(fault, &error)) qFatal("%s", qPrintable(error));
    }
    return config;
}

EmulatedPort::EmulatedPort(EmulatedBoards& boards, QObject* parent)
    : SerialPort(parent), m_boards(boards)
{
}

EmulatedPort::~EmulatedPort()
{
    *m_alive = false;
    close();
}

void EmulatedPort::later(std::chrono::nanoseconds at, std::function<void()> action,
                         std::function<void()> orphaned)
{
    FakeLinkClock& clock = m_boards.clock();
    const std::weak_ptr<bool> alive = m_alive;
    const std::weak_ptr<bool> boardsAlive = m_boards.alive();
    clock.after(std::max(at - clock.now(), std::chrono::nanoseconds{0}),
                [alive, boardsAlive, action = std::move(action), orphaned = std::move(orphaned)] {
                    const auto boards = boardsAlive.lock();
                    if (!boards || !*boards) return;
                    if (auto flag = alive.lock(); flag && *flag) {
                        action();
                    } else if (orphaned) {
                        orphaned();
                    }
                });
}

bool EmulatedPort::open(QString* failureReason)
{
    if (m_board) return true;
    EmulatedBoard* board = m_boards.at(m_devicePath);
    if (!board || board->m_gone) {
        m_openFailure.kind = PortOpenFailure::Kind::NotFound;
        m_openFailure.portNumber = m_portNumber;
        m_openFailure.devicePath = m_devicePath;
        m_openFailure.systemReason = QStringLiteral("No such file or directory");
        if (failureReason) {
            *failureReason = m_openFailure.systemReason;
        }
        return false;
    }
    m_openFailure = {};
    m_board = board;
    m_lineLost = false;
    m_received.clear();
    ++openCount;
    return true;
}

void EmulatedPort::close()
{
    if (!m_board) return;
    EmulatedBoard* board = m_board;
    m_board = nullptr;
    // The bytes still on their way reach the board first: a close drains the line.
    later(
        std::max(m_toBoardFree, m_boards.clock().now()),
        [this, board] {
            board->m_firmware.lineClosed();
            takeBoardOutput(*board);
        },
        [board] { board->closeUnheard(); });
}

void EmulatedPort::pullOut()
{
    if (!m_board) return;
    m_lineLost = true;
    m_board->m_firmware.lineClosed();
    m_board->m_events += m_board->m_firmware.takeEvents();
    m_board = nullptr;
    emit lineLost();
}

void EmulatedPort::write(const QByteArray& bytes)
{
    if (!m_board || bytes.isEmpty()) return;
    EmulatedBoard* board = m_board;
    board->m_fromPc += bytes;
    lastWriteAt = m_boards.clock().now();
    // The board has the bytes once the last one's stop bit is through.
    const auto start = std::max(m_boards.clock().now(), m_toBoardFree);
    m_toBoardFree = start + kByteTime * bytes.size();
    const int power = board->m_power;
    later(
        m_toBoardFree, [this, board, bytes, power] { boardReceives(*board, bytes, power); },
        [board, bytes, power] { board->receiveUnheard(bytes, power); });
}

void EmulatedPort::boardReceives(EmulatedBoard& board, const QByteArray& bytes, int power)
{
    if (board.m_gone || power != board.m_power) return;
    board.m_firmware.receive(bytes);
    const auto received = m_boards.clock().now();
    m_lastToBoard = received;
    takeBoardOutput(board);
    later(received + kQuietAbandon, [this, &board, received] {
        if (m_lastToBoard != received || !board.m_firmware.inPartialFrame()) return;
        board.m_firmware.lineQuiet();
        takeBoardOutput(board);
    });
}

void EmulatedPort::takeBoardOutput(EmulatedBoard& board)
{
    board.m_events += board.m_firmware.takeEvents();
    const int power = board.m_power;
    // What the board sends in one go (line noise and the chunk after it) arrives as one burst.
    QByteArray burst;
    const auto flush = [&] {
        if (burst.isEmpty()) return;
        later(m_toPcFree, [this, &board, bytes = burst, power] { deliver(board, bytes, power); });
        burst.clear();
    };
    for (const BoardFirmware::Output& output : board.m_firmware.takeOutput()) {
        if (output.quietBefore > std::chrono::microseconds::zero()) flush();
        const auto start = std::max(m_boards.clock().now(), m_toPcFree) +
                           std::chrono::nanoseconds{output.quietBefore};
        m_toPcFree = start + kByteTime * output.bytes.size();
        burst += output.bytes;
        if (output.dropLine || output.hangUp) {
            flush();
            later(m_toPcFree, [this, &board, gone = output.dropLine, power] {
                if (power != board.m_power) return;
                board.m_gone = board.m_gone || gone;
                if (m_board == &board) {
                    pullOut();
                } else {
                    board.m_firmware.lineClosed();
                    board.m_events += board.m_firmware.takeEvents();
                }
            });
        }
    }
    flush();
}

void EmulatedPort::deliver(EmulatedBoard& board, const QByteArray& bytes, int power)
{
    // Bytes that arrive while the port is closed are lost, as on a real line; bytes the board
    // sent during an earlier opening arrive in the present one.
    if (m_board != &board || board.m_gone || power != board.m_power) return;
    m_received += bytes;
    emit bytesArrived();
}
