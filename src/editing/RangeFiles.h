#pragma once

#include "editing/AddressRange.h"
#include "editing/ByteRun.h"
#include "files/FileReplacement.h"
#include "files/ImageFileFormat.h"
#include "files/ImageReadSummary.h"

#include <QString>

#include <optional>

class MemoryImage;

// Which part of a file goes into a range of the image: from `offset` on in the file's own
// addresses (a binary file's byte offsets, the record addresses of Intel HEX and S-records),
// `length` of them, or all that follow when none is given.
struct RangeSource {
    qint64 offset = 0;
    std::optional<qint64> length;
};

// The bytes of a file for a range of the image. Only the bytes the file holds are taken: the
// addresses an Intel HEX or S-record file has no record for are absent from the runs, so the
// image keeps its own bytes there.
struct RangeFileRead {
    // The furthest a file's addresses are followed (16 MiB, what 24-bit S-record addresses
    // reach): an image of the part's size is built for the part of the file that is read.
    static constexpr qint64 kLargestSource = qint64{16} * 1024 * 1024;
    // A text file longer than this is not read (the text of kLargestSource bytes is shorter).
    static constexpr qint64 kLargestText = qint64{64} * 1024 * 1024;

    enum class Result {
        Read,            // `runs` hold the file's bytes
        NoData,          // the file holds no byte in the part asked for
        NotRegularFile,  // a pipe, a device or the like: refused unread
        Unreadable,      // could not be opened or read: `error` has the system's words
        TooLarge,        // the part asked for lies beyond kLargestSource, or the text is too long
    };

    Result result = Result::Unreadable;
    ImageFileFormat format = ImageFileFormat::Unknown;  // the format the file was read as
    bool formatFromContent = false;                     // found from the file's beginning
    QString error;
    // The bytes from the source offset on; run addresses count from it (0 is the offset).
    ByteRuns runs;
    // Bytes the file holds past the `room` it was read for (with no length given): they would
    // lie past the image's end.
    qint64 bytesBeyond = 0;
    ImageReadSummary summary;  // records with wrong checksums, lines that are not records

    [[nodiscard]] bool read() const { return result == Result::Read; }
    // The bytes that would not fit when the runs go to `target` of an image of `imageSize`
    // bytes: the window asks before loading a clipped range.
    [[nodiscard]] qint64 overrun(qint64 target, qint64 imageSize) const;
};

// Reads `source` of the file at `path` as `format` (Unknown: the extension decides, else the
// file's beginning), for a range of the image that has `room` bytes up to its end. Without a
// length, what lies past `room` is counted, not kept.
[[nodiscard]] RangeFileRead readRangeFile(const QString& path, ImageFileFormat format,
                                          const RangeSource& source, qint64 room);

// Saves the bytes of `range` as a file of `format` in which they begin at address 0, through
// replaceFile: the old file survives every failure.
[[nodiscard]] FileWriteFailure saveRangeFile(const QString& path, ImageFileFormat format,
                                             const MemoryImage& image, AddressRange range);
