#pragma once

#include <QString>

// The filter lists of the open and save dialogs, in the "Name|patterns|...|" form the program's
// dialogs take and in the order of ImageFileFilter: Intel HEX, S-records, binary, all files, and
// where `offerSwapped16` (a Microwire part) "16ビット (バイト入れ替え)" for x16 dumps of any
// format.

// "Hexファイル|*.HEX|Sレコードファイル|*.S19;...|バイナリファイル|*.BIN|全てのファイル|*.*|"
[[nodiscard]] QString openFileFilter(bool offerSwapped16 = false);
// The same with lower-case patterns, as the save dialog has always had them.
[[nodiscard]] QString saveFileFilter(bool offerSwapped16 = false);
