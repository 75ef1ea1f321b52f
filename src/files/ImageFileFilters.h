#pragma once

#include "files/ImageByteOrder.h"
#include "files/ImageFileFormat.h"

#include <QString>

// What the filters of the open and save dialogs stand for, by their place in the list: one
// filter per format, Intel HEX first (the dialogs have always opened with it), then all files,
// and for Microwire parts one more for x16 dumps, whose format goes by the file as for all files.
// The window words the list (files/gui/FileDialogFilters.h).
namespace ImageFileFilter {
inline constexpr int kIntelHex = 0;
inline constexpr int kSRecord = 1;
inline constexpr int kBinary = 2;
inline constexpr int kAllFiles = 3;
inline constexpr int kSwapped16 = 4;
}  // namespace ImageFileFilter

// The format of the filter at `filterIndex` in either list; Unknown for all files, the x16
// filter or no filter (-1).
[[nodiscard]] ImageFileFormat formatForFilter(int filterIndex);

// The byte order of files chosen under the filter at `filterIndex`: Swapped16 for the x16
// filter, else AsIs.
[[nodiscard]] ImageByteOrder byteOrderForFilter(int filterIndex);

// The format a file chosen in the open dialog is read as: a known extension decides; else a
// chosen S-record or binary filter; else Unknown, which lets the content decide. (The Intel HEX
// filter is the one the dialog opens with, so it says nothing about a file typed in by name.)
[[nodiscard]] ImageFileFormat formatToLoad(const QString& path, int filterIndex);

// The format a file chosen in the save dialog is written in: a known extension decides; else
// the chosen filter; else Intel HEX.
[[nodiscard]] ImageFileFormat formatToSave(const QString& path, int filterIndex);
