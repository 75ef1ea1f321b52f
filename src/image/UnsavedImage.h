#pragma once

// Whether the memory image holds changes that are in no file and on no chip: edits in the byte
// editor and bytes of a Byte Read, until the image is saved, loaded, read whole or cleared.
// Whatever would replace such an image asks first (image/gui/UnsavedQuestion).
class UnsavedImage {
public:
    [[nodiscard]] bool unsaved() const { return m_unsaved; }
    void markChanged() { m_unsaved = true; }
    // The image is one that a file or the chip holds too (or blank).
    void markKept() { m_unsaved = false; }

private:
    bool m_unsaved = false;
};
