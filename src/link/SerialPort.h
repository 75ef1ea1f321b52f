#pragma once

#include "link/PortOpenFailure.h"

#include <QByteArray>
#include <QObject>
#include <QString>

// The serial port that the programmer link talks through (MSComm1): exactly the operations the
// board protocol needs. The main window owns its one real port, the command line one per board;
// tests use a scripted fake or the emulated board.
//
// Line settings are fixed for every opening: 57600 bit/s, 8 data bits, no parity, 1 stop bit,
// no flow control. Nothing here blocks waiting for data: a caller that needs bytes waits in the
// event loop until bytesArrived() or its own deadline, then looks at receivedCount().
class SerialPort : public QObject {
    Q_OBJECT
public:
    // How the caller reads what it takes: the identification reply is read as text, the data
    // transfer as raw bytes. Both deliver the bytes as they came off the line; the mode records
    // which kind of reply the protocol is expecting, so that a test can check the switch.
    enum class ReceiveMode { Text, Bytes };

    static constexpr int kFirstPortNumber = 1;
    static constexpr int kLastPortNumber = 20;

    using QObject::QObject;

    // Take effect at the next open(): the system device, and the port number that names it in
    // texts (0 when the device was named directly).
    virtual void setDevicePath(const QString& path) = 0;
    [[nodiscard]] virtual QString devicePath() const = 0;
    virtual void setPortNumber(int portNumber) = 0;
    [[nodiscard]] virtual int portNumber() const = 0;

    // Set before open(); the lines hold that state while the port is open. A port that cannot
    // drive the lines (a pseudo-terminal) opens and works all the same.
    virtual void setRts(bool on) = 0;
    virtual void setDtr(bool on) = 0;

    // Applies to the next takeAll().
    virtual void setReceiveMode(ReceiveMode mode) = 0;
    [[nodiscard]] virtual ReceiveMode receiveMode() const = 0;

    // Opens the port with the fixed line settings. On failure the port stays closed and
    // `failureReason` (when given) receives the system's reason; openFailure() tells the rest.
    [[nodiscard]] virtual bool open(QString* failureReason = nullptr) = 0;
    // Why the last open() failed, in parts (kind, device, the system's words, the device's
    // group) that each front-end puts into its own words. Kind::Other with no reason when the
    // port cannot tell.
    [[nodiscard]] virtual PortOpenFailure openFailure() const { return {}; }
    [[nodiscard]] virtual bool isOpen() const = 0;

    // Delivers every byte already written, then releases the line. Closing a closed port does
    // nothing.
    virtual void close() = 0;

    // Hands the whole sequence to the port in order and returns without waiting for an answer.
    // Writing to a closed port sends nothing.
    virtual void write(const QByteArray& bytes) = 0;

    // Bytes that have arrived and have been neither taken nor discarded. Grows only while the
    // event loop runs (that is when arrivals are noticed).
    [[nodiscard]] virtual int receivedCount() const = 0;

    // Every byte received so far in arrival order; the receive buffer is empty afterwards.
    [[nodiscard]] virtual QByteArray takeAll() = 0;

    // A hint from a caller about to sleep until `count` more bytes have come: the port may hold
    // back bytesArrived() until then, rather than announce every byte of a chunk that trickles
    // in on a slow line. Data are never held back from receivedCount() or takeAll() once
    // announced; a hint of 1 gives every arrival again.
    virtual void expectBytes(int count) { Q_UNUSED(count); }

    // Empties the receive buffer at once, including what the system holds but has not yet
    // handed over; receivedCount() reads 0 afterwards.
    virtual void discard() = 0;

    // The line went away while the port was open (adapter unplugged, the other end hung up):
    // the port has closed itself. Cleared by the next successful open().
    [[nodiscard]] virtual bool isLineLost() const { return false; }

signals:
    // New bytes have arrived: receivedCount() has grown.
    void bytesArrived();
    // The line has gone away; isLineLost() reads true from now on.
    void lineLost();
};
