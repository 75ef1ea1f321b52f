#pragma once

#include "link/SerialDevice.h"

#include <QList>
#include <QString>

// The serial devices present on this computer, found without opening any of them: the
// devices Qt Serial Port knows, each with its stable /dev/serial/by-id link where the system
// made one.
class SerialDevices {
public:
    static inline const QString kStableFolder = QStringLiteral("/dev/serial/by-id");

    virtual ~SerialDevices() = default;

    // Where the stable links are looked for; tests point it at a folder of their own.
    void setStableFolder(const QString& folder) { m_stableFolder = folder; }

    // Every present device, in path order.
    [[nodiscard]] QList<SerialDevice> present() const;

    // What is known of `path` (a node, a stable link or any other link): the present device it
    // leads to, else just the path and whether something is there.
    [[nodiscard]] static SerialDevice describe(const QString& path,
                                               const QList<SerialDevice>& present);

    // Whether `path` (or the device it leads to) is one of `present`.
    [[nodiscard]] static bool isListed(const QString& path, const QList<SerialDevice>& present);

    // Whether `path` leads to something (links followed).
    [[nodiscard]] static bool exists(const QString& path);
    // `path` with its links resolved; `path` itself when it leads nowhere.
    [[nodiscard]] static QString resolved(const QString& path);

protected:
    // The system's own list; tests stand pseudo-terminals in for adapters here.
    [[nodiscard]] virtual QList<SerialDevice> systemDevices() const;

private:
    QString m_stableFolder = kStableFolder;
};
