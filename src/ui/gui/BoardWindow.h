#pragma once

#include <QWidget>

// frmBoard: which way round the EEPROM goes into the programmer's socket, and the jumper JP2.
// A fixed drawing, the same for every device. Closing it with the close box discards it.
class BoardWindow : public QWidget {
    Q_OBJECT
public:
    explicit BoardWindow(QWidget* parent = nullptr);

private:
    void buildSocket();
    void buildJumper();
};
