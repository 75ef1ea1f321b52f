#pragma once

#include <QString>

#include <optional>

// The ports whose last write stopped inside its range, kept beside the port claims so that the
// window and every vorle6-cli see them. A board told a range waits for all of its bytes (the
// protocol gives it no other way out): until it is switched off and on it takes the next
// detection's queries as chunk data, and detection fails. A later access that finds the board
// answering again clears the record.
class StoppedWrites {
public:
    struct Record {
        qint64 bytesAwaited = 0;  // what the board still expected when the write stopped
        qint64 lastAddress = -1;  // the last address handed to it, -1 for none
    };

    explicit StoppedWrites(QString folder) : m_folder(std::move(folder)) {}

    void record(const QString& devicePath, const Record& record) const;
    void clear(const QString& devicePath) const;
    [[nodiscard]] std::optional<Record> find(const QString& devicePath) const;

private:
    [[nodiscard]] QString fileOf(const QString& devicePath) const;

    QString m_folder;
};
