#pragma once

#include <QObject>

class QEventLoop;
class QIODevice;

// Waits on the program's standard input for the key that starts the next round, serving the
// thread's events meanwhile, so that Ctrl+C can end the wait. On a terminal the keys typed
// during the round are thrown away first (an Enter pressed early must not start a round before
// the chips are changed), and a key other than Enter counts without Enter: the terminal's line
// mode is off while it waits, and back on after. A pipe, a file or a buffer is read as it comes.
class KeyWait : public QObject {
    Q_OBJECT
public:
    enum class Result { Key, EndOfInput, Interrupted };

    explicit KeyWait(QIODevice& input) : m_input(input) {}

    [[nodiscard]] Result wait(char key);
    [[nodiscard]] bool waiting() const { return m_loop != nullptr; }
    // Ends the running wait, or else the next one, with Interrupted.
    void interrupt();

private:
    [[nodiscard]] Result waitOnDescriptor(int descriptor, char key);

    QIODevice& m_input;
    QEventLoop* m_loop = nullptr;  // while a wait runs
    bool m_interrupted = false;
};
