#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

class FakeSerialPort;

// A scripted programmer board on a FakeSerialPort: the script lists what the program must send,
// in order, and what the board answers to each. Any byte the script does not expect fails the
// test at once (with the position and both byte sequences) and the board falls silent, so the
// code under test sees a dead board and nothing after the fault goes unnoticed.
//
//   FakeBoard board(port);
//   board.expect("?").reply(FakeBoard::identification())
//        .expect("?").reply(FakeBoard::identification())
//        .expect("E").expect("e2P").reply("P")
//        .expect("E").expect("e2R").expect(QByteArray::fromHex("10000000"))...
//   ... run the code ...
//   QVERIFY2(board.finished(), qPrintable(board.report()));
//
// Steps match bytes, not writes: one step may span several writes and one write may cover
// several steps. Replies arrive from the event loop (after `replyAfter` milliseconds, 0 by
// default), as from a real line, so code that does not wait in the event loop never sees them.
class FakeBoard {
public:
    explicit FakeBoard(FakeSerialPort& port);
    FakeBoard(const FakeBoard&) = delete;
    FakeBoard& operator=(const FakeBoard&) = delete;
    ~FakeBoard();

    // The next bytes the program must send.
    FakeBoard& expect(const QByteArray& bytes);
    // The next `count` bytes the program sends, whatever they are (a write chunk whose data
    // the test checks through `then`).
    FakeBoard& expectAny(int count);
    // The board's answer once the last expected step is complete.
    FakeBoard& reply(const QByteArray& bytes);
    FakeBoard& replyAfter(int milliseconds, const QByteArray& bytes);
    // Runs with the bytes the last step matched, when it is complete.
    FakeBoard& then(std::function<void(const QByteArray&)> action);

    // "QZ-PGM Ver 6.00" and CR LF: the 17-byte identification reply.
    [[nodiscard]] static QByteArray identification(const QString& version = QStringLiteral("6.00"));

    // Every step done and nothing unexpected sent.
    [[nodiscard]] bool finished() const;
    [[nodiscard]] bool failed() const { return !m_failure.isEmpty(); }
    // What went wrong or what is still awaited; empty when finished.
    [[nodiscard]] QString report() const;
    // Replaces the reaction to an unexpected byte (by default a test failure), for tests of the
    // board itself.
    void setFailureHandler(std::function<void(const QString&)> handler);

private:
    struct Step {
        QByteArray bytes;
        int anyCount = -1;  // >= 0: any bytes of that count
        QByteArray matched;
        QList<std::pair<int, QByteArray>> replies;
        std::function<void(const QByteArray&)> action;
        [[nodiscard]] qsizetype length() const { return anyCount >= 0 ? anyCount : bytes.size(); }
    };

    void onWrite(const QByteArray& bytes);
    void fail(const QString& message);
    Step& lastStep();

    FakeSerialPort& m_port;
    QList<Step> m_steps;
    int m_current = 0;
    qsizetype m_offset = 0;  // bytes received before the current step (for the report)
    QString m_failure;
    std::function<void(const QString&)> m_failureHandler;
};
