#pragma once

#include <QString>

// True when `path` names a file that can be opened for reading. The file is not read and is
// closed again; a missing file, an empty path, a folder, a file without read access and anything
// that is not a regular file (a named pipe, a device, or a link to one) give false.
[[nodiscard]] bool FileExists(const QString& path);
