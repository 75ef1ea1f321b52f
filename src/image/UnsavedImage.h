#pragma once

class UserDialogs;

// Whether the memory image holds changes that are in no file and on no chip: edits in the byte
// editor and bytes of a Byte Read, until the image is saved, loaded, read whole or cleared.
// Whatever would replace such an image asks first.
class UnsavedImage {
public:
    [[nodiscard]] bool unsaved() const { return m_unsaved; }
    void markChanged() { m_unsaved = true; }
    // The image is one that a file or the chip holds too (or blank).
    void markKept() { m_unsaved = false; }

    // True when the image may be replaced: nothing is unsaved, or the user agrees to discard it
    // ("編集したデータは保存されていません。破棄しますか？", No by default).
    [[nodiscard]] bool mayDiscard(UserDialogs& dialogs) const;

private:
    bool m_unsaved = false;
};
