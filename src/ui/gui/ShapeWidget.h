#pragma once

#include <QColor>
#include <QWidget>

// A drawn shape placed like a control: rectangle, rounded rectangle or ellipse with an outline
// and an optional fill. The insertion-direction window is built from these and labels.
class ShapeWidget : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Rectangle, RoundedRectangle, Ellipse };

    ShapeWidget(Kind kind, const QColor& border, const QColor& fill, QWidget* parent = nullptr);

    [[nodiscard]] Kind kind() const { return m_kind; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind m_kind = Kind::Rectangle;
    QColor m_border;
    QColor m_fill;  // invalid: transparent
};
