#pragma once

#include "files/ImageFileFormat.h"
#include "files/ImageReadSummary.h"

#include <QStringList>

// What the user should be told about an image loaded from a file, one text per finding: data
// beyond the part (or no part selected), records with wrong checksums, lines that are not
// records, and a binary file shorter than the part.
[[nodiscard]] QStringList imageLoadNotices(const ImageReadSummary& summary, ImageFileFormat format,
                                           qint64 imageSize);
