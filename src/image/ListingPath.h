#pragma once

#include "base/SpecialFile.h"

#include <QList>
#include <QString>

// Where the text listing of the memory image ("temp.txt") lives: in the application folder, or,
// when the program cannot write there (an installed program in a system folder), in the user's
// cache folder ($XDG_CACHE_HOME/VORLE, else ~/.cache/VORLE). The grid writer and the listing
// command both ask here, so they always meet at the same file. A listing beside the program that
// is not a regular file is never opened: the cache folder's is used instead.
[[nodiscard]] QString listingFilePath(const QString& appFolder);

// Sets aside (setAsideSpecialFile) the listings in both places that are not regular files: a
// named pipe there would keep the first write of the listing waiting for ever.
[[nodiscard]] QList<SetAsideFile> setAsideSpecialListings(const QString& appFolder);
