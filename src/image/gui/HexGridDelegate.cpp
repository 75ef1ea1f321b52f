#include "image/gui/HexGridDelegate.h"

#include "image/GridAddress.h"
#include "image/HexGridModel.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

namespace {

// A byte that differs from the chip: light enough to read the text, unlike any other cell.
const QColor kMarkColour(0xFF, 0xB4, 0xA0);
// A byte of a match of the find: a colour of its own, apart from the differences' marks.
const QColor kFoundColour(0xFF, 0xE8, 0x70);

}  // namespace

const QStaticText& HexGridDelegate::laidOut(const QString& text, const QFont& font) const
{
    if (font != m_font || m_texts.size() >= kMaxKeptTexts) {
        m_texts.clear();
        m_font = font;
    }
    auto found = m_texts.find(text);
    if (found == m_texts.end()) {
        QStaticText staticText(text);
        staticText.setTextFormat(Qt::PlainText);
        staticText.setPerformanceHint(QStaticText::AggressiveCaching);
        staticText.prepare(QTransform(), font);
        found = m_texts.insert(text, staticText);
    }
    return *found;
}

void HexGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    if (index.data(HexGridModel::kMarkedRole).toBool()) {
        item.backgroundBrush = kMarkColour;
    } else if (index.data(HexGridModel::kFoundRole).toBool()) {
        item.backgroundBrush = kFoundColour;
    }
    const int row = index.row() + 1;
    const int column = index.column() + 1;
    if (const auto address = GridAddress::addressOf(row, column);
        address && m_selection.contains(*address)) {
        item.state |= QStyle::State_Selected;
    }
    const QWidget* widget = item.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, widget);

    const QPalette::ColorGroup group = !(item.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (item.state & QStyle::State_Active) ? QPalette::Normal
                                                                             : QPalette::Inactive;
    const QPalette::ColorRole role =
        item.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text;
    // The style's own text rectangle would lay the text out once more just to measure it.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect area = item.rect.adjusted(margin, 0, -margin, 0);
    if (column == GridAddress::kTextColumn && !m_selection.isEmpty()) {
        paintTextSelection(painter, item, area, GridAddress::firstAddressOfRow(row));
    }
    const QStaticText& text = laidOut(item.text, item.font);
    const QSizeF size = text.size();
    qreal x = area.left();
    if (item.displayAlignment & Qt::AlignHCenter) {
        x = area.left() + (area.width() - size.width()) / 2;
    } else if (item.displayAlignment & Qt::AlignRight) {
        x = area.right() + 1 - size.width();
    }
    const qreal y = area.top() + (area.height() - size.height()) / 2;

    painter->save();
    painter->setClipRect(area);
    painter->setFont(item.font);
    painter->setPen(item.palette.color(group, role));
    painter->drawStaticText(QPointF(x, y), text);
    painter->restore();

    if (item.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(item);
        focus.rect = item.rect;
        focus.state |= QStyle::State_KeyboardFocusChange;
        focus.backgroundColor = item.palette.color(
            group, item.state & QStyle::State_Selected ? QPalette::Highlight : QPalette::Window);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
}

void HexGridDelegate::paintTextSelection(QPainter* painter, const QStyleOptionViewItem& item,
                                         QRect area, qint64 firstAddress) const
{
    const AddressRange row{firstAddress, GridAddress::kBytesPerRow};
    const qint64 from = std::max(row.start, m_selection.start);
    const qint64 to = std::min(row.end(), m_selection.end());
    if (from >= to) return;
    // The grid's face is fixed-pitch: every character of the text cell is as wide as "W".
    const int advance = QFontMetrics(item.font).horizontalAdvance(QLatin1Char('W'));
    const QRect selected(area.left() + static_cast<int>(from - firstAddress) * advance, area.top(),
                         static_cast<int>(to - from) * advance, area.height());
    QColor colour = item.palette.color(QPalette::Highlight);
    colour.setAlpha(96);
    painter->fillRect(selected.intersected(area), colour);
}
