#pragma once

#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

// Paints the grid's cells with laid-out texts kept from one paint to the next. A grid page
// holds some 500 cells whose texts repeat (256 byte cells in all), and laying each one out
// anew on every paint made scrolling and the rebuild of a 1 Mbit image visibly slow. Marked
// cells (HexGridModel::kMarkedRole) get a background of their own.
class HexGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    [[nodiscard]] const QStaticText& laidOut(const QString& text, const QFont& font) const;

    static constexpr int kMaxKeptTexts = 4096;
    mutable QHash<QString, QStaticText> m_texts;
    mutable QFont m_font;
};
