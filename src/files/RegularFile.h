#pragma once

#include <QString>

class QFile;

// Image files are regular files. A named pipe, a device file or a socket (or a link to one)
// could keep a read waiting for ever, or never end (/dev/zero), so they are refused before
// anything is read from them.

// Why a path cannot be used as an image file when it names something that is not a regular
// file: "通常のファイルではありません（名前付きパイプやデバイスファイルなど）。"
[[nodiscard]] QString notRegularFileText();

// Whether `path`, links followed, names something that exists and is neither a regular file
// nor a folder (folders are turned away by the ordinary checks).
[[nodiscard]] bool isSpecialFile(const QString& path);

enum class RegularFileOpening { Opened, NotRegular, Failed };

// Opens `path` for reading into `file` when it is a regular file, without waiting on a pipe
// that has no writer. On Failed, `error` holds the system's reason.
[[nodiscard]] RegularFileOpening openRegularFile(QFile& file, const QString& path, QString& error);
