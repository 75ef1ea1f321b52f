#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT (Ctrl+C) and SIGTERM into a Qt signal on the thread that made this object. The
// system handler only writes a byte to a pipe, the one thing it may safely do; the event loop
// reads it. After the first signal the default action is back, so a second Ctrl+C ends the
// program at once; so does a second signal before the event loop took the first, with exit
// code 130. One object at a time.
class InterruptSignal : public QObject {
    Q_OBJECT
public:
    explicit InterruptSignal(QObject* parent = nullptr);
    ~InterruptSignal() override;

    [[nodiscard]] bool isInstalled() const { return m_notifier != nullptr; }

    // Catches the next signal too, for a command whose first Ctrl+C ends it softly and whose
    // second stops it sooner; call it after the first. Nothing while no object is installed.
    static void catchAgain();

signals:
    void interrupted();

private:
    void readPipe();

    QSocketNotifier* m_notifier = nullptr;
};
