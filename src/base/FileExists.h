#pragma once

#include <QString>

// True when `path` names a file that can be opened for reading. The file is not read and is
// closed again; a missing file, an empty path, a folder or a file without read access give false.
[[nodiscard]] bool FileExists(const QString& path);
