#pragma once

#include <QString>

struct FileWriteFailure;
struct SetAsideFile;

// The window's words for files that could not be written or were not regular files.

// Why a file could not be written: a full disk or quota is "ディスクの空き容量が足りません",
// other failures of the system keep the system's words.
[[nodiscard]] QString writeFailureText(const FileWriteFailure& failure);

// "通常のファイルではありません（名前付きパイプやデバイスファイルなど）。"
[[nodiscard]] QString notRegularFileText();

// The notice at start-up about a settings file, or a listing file, that was not a regular file.
[[nodiscard]] QString settingsSetAsideText(const SetAsideFile& file);
[[nodiscard]] QString listingSetAsideText(const SetAsideFile& file);
