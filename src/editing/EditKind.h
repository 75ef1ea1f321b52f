#pragma once

// What changed the memory image: the name of an undo step ("元に戻す: 貼り付け" in the window's
// words).
enum class EditKind {
    ByteEdit,     // the byte editor
    ByteRead,     // Byte Read from the chip
    Paste,        // bytes pasted at the current cell
    Fill,         // a selection filled with a pattern
    Replace,      // one match replaced
    ReplaceAll,   // every match replaced
    RangeLoad,    // a file's bytes loaded into a range
    FileLoad,     // an image file loaded over the whole image
    BlockRead,    // Block Read from the chip
    BufferClear,  // the buffer cleared (or re-created for another part of the same size)
};
