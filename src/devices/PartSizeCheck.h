#pragma once

#include <QStringList>

#include <optional>

class DeviceCatalogue;
struct SelectedDevice;

// An image file against the part it is meant for. A file larger than the part, or smaller by
// more than a page, is most likely the image of another part: the front-ends say so with both
// sizes and the parts that fit the file, and the command line will not write it unasked.
struct PartSizeMismatch {
    qint64 fileBytes = 0;  // the size of the part the file is an image of (ImageFileLoad)
    qint64 partBytes = 0;
    qint64 pageBytes = 0;  // the difference a file may fall short by (the page, at least 1)
};

// The figures when `fileBytes` does not fit `part`; nothing when it does, or for 0 (no data).
[[nodiscard]] std::optional<PartSizeMismatch> partSizeMismatch(qint64 fileBytes,
                                                               const SelectedDevice& part);

// The names of the catalogue's usable parts that a file of `fileBytes` fits, in catalogue order.
[[nodiscard]] QStringList partsFitting(const DeviceCatalogue& catalogue, qint64 fileBytes);
