#include "ui/WindowPlacement.h"

#include <algorithm>

namespace {

qint64 areaOf(const QRect& rect)
{
    return rect.isEmpty() ? 0 : qint64{rect.width()} * rect.height();
}

// The rectangle moved by the least distance that puts it within `area` in the direction given;
// a rectangle longer than the area keeps its near edge on the area's near edge.
int clampedStart(int start, int length, int areaStart, int areaLength)
{
    const int last = areaStart + areaLength - length;
    return std::max(areaStart, std::min(start, last));
}

QRect movedInside(QRect rect, const QRect& area)
{
    rect.moveTo(clampedStart(rect.x(), rect.width(), area.x(), area.width()),
                clampedStart(rect.y(), rect.height(), area.y(), area.height()));
    return rect;
}

}  // namespace

namespace WindowPlacement {

QRect areaFor(const QRect& frame, const QList<QRect>& areas)
{
    if (areas.isEmpty()) return {};
    QRect best = areas.first();
    qint64 bestShown = 0;
    for (const QRect& area : areas) {
        const qint64 shown = areaOf(frame.intersected(area));
        if (shown > bestShown) {
            best = area;
            bestShown = shown;
        }
    }
    return best;
}

QRect onScreen(QRect frame, const QRect& area)
{
    if (area.isEmpty()) return frame;
    const bool tooWide = frame.width() > area.width();
    frame.setWidth(std::min(frame.width(), area.width()));
    frame.setHeight(std::min(frame.height(), area.height()));

    // Top to bottom: the title bar to move it by and the status bar stay reachable.
    frame.moveTop(clampedStart(frame.y(), frame.height(), area.y(), area.height()));
    // Side to side: a window half off the screen is left where the user put it; one as wide
    // as the screen fills it.
    const int shownWidth = frame.intersected(area).width();
    if (tooWide || 2 * shownWidth < frame.width()) frame = movedInside(frame, area);
    return frame;
}

QRect besideOwner(const QSize& size, const QRect& owner, const QRect& coverable, const QRect& area)
{
    struct Candidate {
        QRect place;
        bool side;  // right or left: may slide up and down; below or above: side to side
    };
    const Candidate candidates[] = {
        {QRect(QPoint(owner.right() + 1 + kGap, owner.top()), size), true},
        {QRect(QPoint(owner.left() - kGap - size.width(), owner.top()), size), true},
        {QRect(QPoint(owner.left(), owner.bottom() + 1 + kGap), size), false},
        {QRect(QPoint(owner.left(), owner.top() - kGap - size.height()), size), false},
    };
    for (const Candidate& candidate : candidates) {
        // Level with the owner where possible, slid along its edge to stay on the screen.
        const QRect slid = movedInside(candidate.place, area);
        const bool alongTheEdge =
            candidate.side ? slid.x() == candidate.place.x() : slid.y() == candidate.place.y();
        if (alongTheEdge && area.contains(slid) && !slid.intersects(owner)) return slid;
    }
    QRect fallback(QPoint(coverable.left(), coverable.bottom() + 1 - size.height()), size);
    return area.isEmpty() ? fallback : movedInside(fallback, area);
}

}  // namespace WindowPlacement
