#pragma once

#include <QWidget>

// A picture box that shows the product logo, scaled to the box.
class LogoView : public QWidget {
    Q_OBJECT
public:
    explicit LogoView(int side, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
