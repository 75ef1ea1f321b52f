#pragma once

#include "editing/AddressRange.h"

#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

// Paints the grid's cells with laid-out texts kept from one paint to the next. A grid page
// holds some 500 cells whose texts repeat (256 byte cells in all), and laying each one out
// anew on every paint made scrolling and the rebuild of a 1 Mbit image visibly slow. Marked
// cells (HexGridModel::kMarkedRole) and the matches of a find (kFoundRole) get backgrounds of
// their own; the selection is painted as selected cells and, in the text cells, behind its
// characters.
class HexGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // The addresses to paint as selected beside the view's own current cell; empty for none.
    void setSelection(AddressRange range) { m_selection = range; }

private:
    // The selection's characters in the text cell `area` of the row from `firstAddress`.
    void paintTextSelection(QPainter* painter, const QStyleOptionViewItem& item, QRect area,
                            qint64 firstAddress) const;

    [[nodiscard]] const QStaticText& laidOut(const QString& text, const QFont& font) const;

    static constexpr int kMaxKeptTexts = 4096;
    mutable QHash<QString, QStaticText> m_texts;
    mutable QFont m_font;
    AddressRange m_selection;
};
