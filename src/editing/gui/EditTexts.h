#pragma once

#include "editing/ByteTexts.h"
#include "editing/EditKind.h"
#include "editing/RangeSummary.h"
#include "editing/SearchPattern.h"
#include "editing/TextPlace.h"

#include <QString>

#include <optional>

// The window's words for the editing facts: the names of undo steps, what a typed or pasted
// byte text is wrong with, a selection in the status bar, and how a find or replace went.
namespace EditTexts {

// "貼り付け": the name of an edit in the Undo and Redo menu entries.
[[nodiscard]] QString kindName(EditKind kind);
// "元に戻す: 貼り付け(&U)", or "元に戻す(&U)" when there is nothing to undo.
[[nodiscard]] QString undoText(std::optional<EditKind> kind);
[[nodiscard]] QString redoText(std::optional<EditKind> kind);

// Why a typed or pasted text gives no bytes, and where: "3 行 5 文字目 ...".
[[nodiscard]] QString patternError(SearchPattern::Error error, const TextPlace& place);
[[nodiscard]] QString patternError(const SearchPattern& pattern);
[[nodiscard]] QString hexError(const ByteTexts::HexParse& parse);

// Panel 3 for a selection: "選択 0x00010～0x0001F (16 バイト) SUM:07F8 CRC-32:1234ABCD".
[[nodiscard]] QString selectionText(const RangeSummary& summary);

// A five-digit address as the grid labels its rows: "0x1FFF0".
[[nodiscard]] QString addressText(qint64 address);

}  // namespace EditTexts
