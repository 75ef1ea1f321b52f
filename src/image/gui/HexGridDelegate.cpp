#include "image/gui/HexGridDelegate.h"

#include "image/HexGridModel.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace {

// A byte that differs from the chip: light enough to read the text, unlike any other cell.
const QColor kMarkColour(0xFF, 0xB4, 0xA0);

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
    if (index.data(HexGridModel::kMarkedRole).toBool()) item.backgroundBrush = kMarkColour;
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
