#pragma once

#include <QByteArrayView>

// Drops a UTF-8 byte-order mark (EF BB BF) at the very start of a text that arrives in pieces
// of any size. Editors on some systems put one before the first record; read as text it would
// spoil that record.
class LeadingByteOrderMark {
public:
    struct Pieces {
        QByteArrayView heldBack;  // the start of a mark held back earlier that proved to be text
        QByteArrayView rest;      // what follows, to be read after heldBack
    };

    // Splits the next piece of the text.
    [[nodiscard]] Pieces pass(QByteArrayView text);
    // At the end of the text: what is still held back as the start of a mark.
    [[nodiscard]] QByteArrayView finish();

private:
    int m_matched = 0;  // bytes of the mark seen so far
    bool m_decided = false;
};
