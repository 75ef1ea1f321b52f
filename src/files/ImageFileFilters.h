#pragma once

#include "files/ImageFileFormat.h"

#include <QString>

// The filter lists of the open and save dialogs, one filter per format and then all files, in
// the "Name|patterns|...|" form the program's dialogs take. The Intel HEX filter stands first,
// as the dialogs have always opened with it; the others follow in the order of ImageFileFormat.

// "Hexファイル|*.HEX|Sレコードファイル|*.S19;...|バイナリファイル|*.BIN|全てのファイル|*.*|"
[[nodiscard]] QString openFileFilter();
// The same with lower-case patterns, as the save dialog has always had them.
[[nodiscard]] QString saveFileFilter();

// The format of the filter at `filterIndex` in either list; Unknown for all files or for no
// filter (-1).
[[nodiscard]] ImageFileFormat formatForFilter(int filterIndex);

// The format a file chosen in the open dialog is read as: a known extension decides; else a
// chosen S-record or binary filter; else Unknown, which lets the content decide. (The Intel HEX
// filter is the one the dialog opens with, so it says nothing about a file typed in by name.)
[[nodiscard]] ImageFileFormat formatToLoad(const QString& path, int filterIndex);

// The format a file chosen in the save dialog is written in: a known extension decides; else
// the chosen filter; else Intel HEX.
[[nodiscard]] ImageFileFormat formatToSave(const QString& path, int filterIndex);
