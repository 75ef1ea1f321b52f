#pragma once

#include <QString>

// The folder remembered for the next file dialog ("SAVE_DIR", "OPEN_DIR0"): the chosen path
// up to, not including, the separator before the bare file name. A file in a drive root gives
// the drive alone ("C:"); a name without a folder gives empty text.
//
// `fileTitle` is the bare file name the dialog reported. The folder is cut where that name ends
// the path, so a name that also stands earlier in the path ("/data/a") still gives the folder
// it lies in ("/data").
[[nodiscard]] QString folderOfChosenFile(const QString& fileName, const QString& fileTitle);
