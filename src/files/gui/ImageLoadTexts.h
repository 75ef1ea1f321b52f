#pragma once

#include "files/ImageFileFormat.h"

#include <QString>
#include <QStringList>

struct Comparison;
struct ImageFileLoad;
struct PartSizeMismatch;

// The window's words for what loading an image file found.

// What the user should be told about a loaded image, one text per finding: data beyond the part
// (or no part selected), a binary file shorter than the part, records with wrong checksums,
// lines that are not records, records after the end record and records that overlap. Nothing
// for a file that was not loaded.
[[nodiscard]] QStringList imageLoadNotices(const ImageFileLoad& load, qint64 imageSize);

// A file whose size does not fit the selected part: both sizes and the parts of the catalogue
// that `fitting` names.
[[nodiscard]] QString partSizeNotice(const PartSizeMismatch& mismatch, const QStringList& fitting);

// "有効なデータレコードがありません。"
[[nodiscard]] QString noDataRecordText();

// A file refused for its size: the size and the limit.
[[nodiscard]] QString tooLargeText(const ImageFileLoad& load);

// The format's name as status texts show it: "Intel HEX形式", "Sレコード形式", "バイナリ形式".
[[nodiscard]] QString formatName(ImageFileFormat format);

// "ファイル比較: 一致しました" or
// "ファイル比較: N バイト不一致 (最初 0xAAAAA: バッファ 0xBB / ファイル 0xCC)".
[[nodiscard]] QString fileComparisonText(const Comparison& comparison);
