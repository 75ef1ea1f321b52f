#pragma once

class UnsavedImage;
class UserDialogs;

// True when the memory image may be replaced: nothing is unsaved, or the user agrees to discard
// it ("編集したデータは保存されていません。破棄しますか？", No by default).
[[nodiscard]] bool mayDiscard(const UnsavedImage& unsaved, UserDialogs& dialogs);
