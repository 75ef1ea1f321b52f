#pragma once

#include "editing/ByteRun.h"

#include <QByteArrayView>

// The runs of `before` that differ from `after` (two versions of the bytes from `address` on,
// of one length): what an undo step keeps of an edit. Differences closer together than a run's
// own bookkeeping costs are kept as one run, equal bytes between them included.
[[nodiscard]] ByteRuns changedRuns(QByteArrayView before, QByteArrayView after, qint64 address);
