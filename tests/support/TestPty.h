#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>

// A pseudo-terminal whose master the test holds: the program opens slavePath() as its serial
// port, and the test plays the far end of the line.
class TestPty {
public:
    TestPty();
    TestPty(const TestPty&) = delete;
    TestPty& operator=(const TestPty&) = delete;
    ~TestPty();

    [[nodiscard]] bool isValid() const { return m_master >= 0; }
    [[nodiscard]] QString slavePath() const { return m_slavePath; }

    void send(const QByteArray& bytes);
    // Reads until `count` bytes came or `limit` passed; returns what came.
    [[nodiscard]] QByteArray receive(int count,
                                     std::chrono::milliseconds limit = std::chrono::seconds{10});
    // Everything that has arrived so far, without waiting.
    [[nodiscard]] QByteArray receiveAvailable();

private:
    int m_master = -1;
    QString m_slavePath;
};
