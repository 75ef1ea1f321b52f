#pragma once

#include "base/SpecialFile.h"

#include <QString>

class QFile;

// Image and data files are regular files: anything else (base/SpecialFile.h) is refused before
// anything is read from it.

enum class RegularFileOpening { Opened, NotRegular, Failed };

// Opens `path` for reading into `file` when it is a regular file, without waiting on a pipe
// that has no writer. On Failed, `error` holds the system's reason.
[[nodiscard]] RegularFileOpening openRegularFile(QFile& file, const QString& path, QString& error);
