#pragma once

#include <QtGlobal>

// What reading an image file found beyond the bytes it stored. Every reader fills the same
// summary, so the window and the command line word their notices once for all formats.
struct ImageReadSummary {
    qint64 storedBytes = 0;           // data bytes written into the image
    qint64 bytesBeyond = 0;           // data bytes addressed outside the image, left out
    qint64 lowestAddressBeyond = -1;  // the lowest such address; -1 when there was none
    qint64 dataEnd = 0;               // one past the highest data address, inside the image or not
    qint64 badRecords = 0;        // records whose checksum does not match, or that are cut short
    qint64 ignoredLines = 0;      // lines that are not records, blank lines aside
    qint64 firstIgnoredLine = 0;  // the first such line's number, counted from 1; 0 for none
    qint64 recordsAfterEnd = 0;   // records after the end record, not loaded
    qint64 overlappingBytes = 0;  // image bytes that a later record wrote again
    qint64 lowestOverlap = -1;    // the lowest such address; -1 when there was none

    [[nodiscard]] bool hasDataBeyond() const { return bytesBeyond > 0; }
    // Whether the file held a single data byte, inside the image or not.
    [[nodiscard]] bool hasData() const { return storedBytes + bytesBeyond > 0; }
    [[nodiscard]] bool hasOverlaps() const { return overlappingBytes > 0; }

    // Counts a line that is not a record; the same line is counted once.
    void ignoreLine(qint64 lineNumber)
    {
        if (lineNumber == m_lastIgnoredLine) return;
        m_lastIgnoredLine = lineNumber;
        ++ignoredLines;
        if (firstIgnoredLine == 0) firstIgnoredLine = lineNumber;
    }
    // Counts `count` bytes from `address` on that lie outside the image.
    void leaveOut(qint64 address, qint64 count = 1)
    {
        bytesBeyond += count;
        if (lowestAddressBeyond < 0 || address < lowestAddressBeyond) lowestAddressBeyond = address;
        reach(address + count);
    }
    // Counts a byte of the image at `address` that an earlier record had written.
    void overlap(qint64 address)
    {
        ++overlappingBytes;
        if (lowestOverlap < 0 || address < lowestOverlap) lowestOverlap = address;
    }
    // Notes that the data reaches up to, not including, `end`.
    void reach(qint64 end)
    {
        if (end > dataEnd) dataEnd = end;
    }

    friend bool operator==(const ImageReadSummary& a, const ImageReadSummary& b)
    {
        return a.storedBytes == b.storedBytes && a.bytesBeyond == b.bytesBeyond &&
               a.lowestAddressBeyond == b.lowestAddressBeyond && a.dataEnd == b.dataEnd &&
               a.badRecords == b.badRecords && a.ignoredLines == b.ignoredLines &&
               a.firstIgnoredLine == b.firstIgnoredLine && a.recordsAfterEnd == b.recordsAfterEnd &&
               a.overlappingBytes == b.overlappingBytes && a.lowestOverlap == b.lowestOverlap;
    }

private:
    qint64 m_lastIgnoredLine = 0;
};
