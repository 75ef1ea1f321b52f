#pragma once

#include <QWidget>

class QFrame;
class QLabel;

// frmSplash: the window shown while the program starts. A key press, or a click on the frame,
// closes it early; closing discards it.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);

    [[nodiscard]] QFrame* frame() const { return m_frame; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    QWidget* buildTitle();

    QFrame* m_frame = nullptr;        // Frame1
    QLabel* m_productName = nullptr;  // lblProductName(0)
    QLabel* m_version = nullptr;      // lblVersion
};
