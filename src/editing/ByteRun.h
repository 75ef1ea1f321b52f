#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

// Bytes that belong at consecutive addresses from `address` on: a piece of a paste, of a file
// loaded into a range, or the other version of bytes an edit changed.
struct ByteRun {
    qint64 address = 0;
    QByteArray bytes;

    [[nodiscard]] qint64 end() const { return address + bytes.size(); }
};

using ByteRuns = QList<ByteRun>;
