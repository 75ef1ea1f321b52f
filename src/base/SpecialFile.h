#pragma once

#include <QString>

#include <optional>

// Files the program reads or writes by name (settings, listing, image files) must be regular
// files. A named pipe, a device file or a socket (or a link to one) could keep an open or a read
// waiting for ever, or never end (/dev/zero); opening a serial port alone can reset the board
// behind it.

// Whether `path`, links followed, names something that exists and is neither a regular file
// nor a folder (folders are turned away by the ordinary checks).
[[nodiscard]] bool isSpecialFile(const QString& path);

// A file of the program's own that was found not to be a regular file and moved out of the way.
struct SetAsideFile {
    QString path;        // where it was
    QString newPath;     // where it is now; empty when it could not be moved
    QString systemText;  // why it could not be moved, in the system's words

    [[nodiscard]] bool moved() const { return !newPath.isEmpty(); }
};

// When `path` is a special file, renames it (the link, when it is one) to
// "<path>.not-a-file" ("<path>.not-a-file-2" and so on when that name is taken) without opening
// it, so that a regular file can take its place. Nothing when `path` is a regular file, a
// folder or missing.
[[nodiscard]] std::optional<SetAsideFile> setAsideSpecialFile(const QString& path);
