#pragma once

#include <QByteArray>
#include <QString>

// Writes a whole file so that no failure costs the user the file that was there before.
//
// The bytes go to a temporary file beside the target, reach the disk, and only then take the
// target's place. Where no temporary file can be made (a folder the user may not write to,
// holding a file they may), the target itself is written and, should that fail, its old
// contents are written back. A target that may not be written, or that is not a regular file,
// is refused before anything is written.
//
// Empty on success, else the cause in words for the user: a full disk or quota is
// "ディスクの空き容量が足りません", other failures keep the system's words.
[[nodiscard]] QString replaceFile(const QString& path, const QByteArray& bytes);

// The cause of a failed write for the user: `systemText` is the system's words for it, empty
// when the system gave none.
[[nodiscard]] QString writeFailureCause(const QString& systemText);
