#pragma once

#include <QtGlobal>

// What reading an Intel HEX text found beyond the bytes it stored.
struct IntelHexReadSummary {
    qint64 storedBytes = 0;           // data bytes written into the image
    qint64 bytesBeyond = 0;           // data bytes addressed outside the image, left out
    qint64 lowestAddressBeyond = -1;  // the lowest such address; -1 when there was none
    int badRecords = 0;  // records whose checksum does not match, or that are cut short

    [[nodiscard]] bool hasDataBeyond() const { return bytesBeyond > 0; }
};
