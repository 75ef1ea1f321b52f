#pragma once

#include <QList>
#include <QRect>

// Where the program's windows go on the desktop, in screen pixels. Every rectangle is a
// window's frame (title bar and borders included); every area is a screen's available area
// (the screen less its panels and docks).
namespace WindowPlacement {

// The area of the screen that shows most of `frame`; the first area when none shows any of it
// (the primary screen comes first). An empty list gives an empty area.
[[nodiscard]] QRect areaFor(const QRect& frame, const QList<QRect>& areas);

// A window opened at `frame` on `area`, moved and sized so that it can be used:
// - larger than the area in a direction: as large as the area in that direction;
// - its title bar and its bottom edge (the status bar) always within the area's height;
// - less than half of its width within the area: moved wholly onto it.
// A window that lies well already keeps its place and size.
[[nodiscard]] QRect onScreen(QRect frame, const QRect& area);

// A place for a helper window of `size` that belongs to the window at `owner`: beside it,
// right or left (top edges level), else below or above it (left edges level), wherever the
// area holds it whole. Without room there it covers the bottom left corner of `coverable`
// (the part of the owner that may be hidden for a while), kept within the area.
[[nodiscard]] QRect besideOwner(const QSize& size, const QRect& owner, const QRect& coverable,
                                const QRect& area);

// The gap between the owner and a helper window beside it.
inline constexpr int kGap = 8;

}  // namespace WindowPlacement
