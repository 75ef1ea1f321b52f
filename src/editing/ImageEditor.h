#pragma once

#include "editing/AddressRange.h"
#include "editing/ByteRun.h"
#include "editing/EditHistory.h"
#include "editing/EditKind.h"

#include <QByteArrayView>

#include <cstdint>

class ImageChangeObserver;
class MemoryImage;
class UnsavedImage;

// What an edit did. `changed` is empty when no byte took a new value: then no undo step was
// recorded.
struct EditOutcome {
    qint64 written = 0;  // bytes written, whether or not they changed
    qint64 leftOut = 0;  // bytes that would have lain past the image's end
    AddressRange changed;
};

struct ReplaceOutcome {
    enum class Result {
        Replaced,       // `count` matches replaced
        NoMatch,        // nothing to replace (replaceAt: the bytes there are not the pattern)
        EmptyPattern,   // nothing to look for
        LengthDiffers,  // the replacement is not as long as the pattern: the image would move
    };
    Result result = Result::NoMatch;
    qint64 count = 0;
    AddressRange changed;
};

// Every change of the memory image goes through here: the edits of the byte editor, the Edit
// menu's paste, fill and replace, files loaded into a range or over the whole image, Block Read,
// Byte Read and the buffer clear. Each change is one undo step, the unsaved state follows the
// history (undoing back to the saved image makes it saved again), and the observer hears of
// every change with the addresses it touched.
//
// The image never changes size through an edit; a whole image of another size (another part)
// takes the image's place without a step and clears the history.
class ImageEditor {
public:
    // The image and its unsaved state belong to the program; the editor keeps the history. The
    // image as it stands is the saved one unless `unsaved` says otherwise.
    ImageEditor(MemoryImage& image, UnsavedImage& unsaved,
                qint64 historyBudget = EditHistory::kDefaultBudget);

    // Null: nobody is told.
    void setObserver(ImageChangeObserver* observer) { m_observer = observer; }

    [[nodiscard]] const MemoryImage& image() const { return m_image; }
    [[nodiscard]] const EditHistory& history() const { return m_history; }

    // One byte (the byte editor, Byte Read). Successive byte editor edits of one byte are one
    // step. False when the address lies outside the image.
    bool setByte(qint64 address, std::uint8_t value, EditKind kind = EditKind::ByteEdit);
    // `range` (cut to the image) filled with `pattern` repeated from the range's start, the
    // last repetition cut at the range's end. Nothing for an empty pattern.
    EditOutcome fill(AddressRange range, QByteArrayView pattern);
    // How many of `length` bytes pasted at `address` would lie past the image's end: the window
    // asks before a paste that would leave some out.
    [[nodiscard]] qint64 pasteOverrun(qint64 address, qint64 length) const;
    // `bytes` written from `address` on, overwriting; what would lie past the end is left out.
    EditOutcome paste(qint64 address, QByteArrayView bytes);
    // Runs whose addresses count from `target` (a file's bytes loaded into a range), written as
    // one step; what would lie past the end is left out.
    EditOutcome writeRuns(qint64 target, const ByteRuns& runs, EditKind kind = EditKind::RangeLoad);

    // `replacement` in place of `pattern` at `address`, when the image holds `pattern` there.
    ReplaceOutcome replaceAt(qint64 address, QByteArrayView pattern, QByteArrayView replacement);
    // Every match of `pattern` that begins in `within` (and ends inside the image), from the
    // first on, a match never taking in bytes of the one before.
    ReplaceOutcome replaceAll(QByteArrayView pattern, QByteArrayView replacement,
                              AddressRange within);

    // A whole image that a file or the chip holds (file load, Block Read, buffer clear) takes
    // the image's place as one step, and is the saved image. One of another size clears the
    // history instead.
    void replaceWhole(MemoryImage image, EditKind kind);

    bool undo();
    bool redo();
    // The image as it stands has been saved whole to a file, or written whole to the chip.
    void markSaved();

private:
    // Writes `after` from `address` on (inside the image) and records what it changed.
    AddressRange commit(EditKind kind, qint64 address, const QByteArray& after);
    void settle(const ImageChange& change);
    void forgetOutsideResize();

    MemoryImage& m_image;
    UnsavedImage& m_unsaved;
    EditHistory m_history;
    ImageChangeObserver* m_observer = nullptr;
    qint64 m_historySize = 0;  // the image's size the steps were recorded on
};
