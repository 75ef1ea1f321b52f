#pragma once

#include "image/ImageComparison.h"

#include <QString>

// The words around a comparison's list.
struct ComparisonTexts {
    QString title;         // the list window's title: "ベリファイ"
    QString summary;       // above the list: the status text that ended the comparison
    QString otherHeading;  // the column of the other side: "チップ", "ファイル"
    QString ownHeading{};  // the column of the buffer's bytes; empty: "バッファ"
};

// How the window shows a comparison of the memory image with other bytes (a chip, a file): every
// differing byte cell marked in the grid until the next rebuild or an edit of that cell, and a
// list of the first differences (address, buffer, other side) where choosing a line makes that
// cell the grid's current cell. Tests stand in for the window.
class ComparisonView {
public:
    virtual ~ComparisonView() = default;

    // A comparison without differences removes the marks and the list of an earlier one.
    virtual void showComparison(const Comparison& comparison, const ComparisonTexts& texts) = 0;
};
