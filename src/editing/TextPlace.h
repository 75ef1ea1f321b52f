#pragma once

#include <QStringView>
#include <QtGlobal>

// Where in a typed or pasted text something was found: the character's index, and its line
// and column counted from 1, so the window can point at it.
struct TextPlace {
    qsizetype index = 0;
    qsizetype line = 1;
    qsizetype column = 1;

    // The place of character `index` of `text`. A line ends at LF; a CR before it is part of
    // that line.
    [[nodiscard]] static TextPlace of(QStringView text, qsizetype index)
    {
        TextPlace place;
        place.index = index;
        qsizetype lineStart = 0;
        for (qsizetype i = 0; i < index && i < text.size(); ++i) {
            if (text[i] == u'\n') {
                ++place.line;
                lineStart = i + 1;
            }
        }
        place.column = index - lineStart + 1;
        return place;
    }

    friend bool operator==(const TextPlace& a, const TextPlace& b)
    {
        return a.index == b.index && a.line == b.line && a.column == b.column;
    }
};
