#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QString>

// Records every byte on the line, one line of text per read or write:
//   <seconds since start, 6 decimals> <direction> <bytes or text>
// direction ">" PC to board (hex bytes), "<" board to PC (hex bytes), "#" what the board did.
// Example:
//   0.051234 > 3F
//   0.051301 < 51 5A 2D 50 47 4D 20 56 65 72 20 36 2E 30 30 0D 0A
//   0.120002 # read "R" family 2 0x000000..0x0000FF chunk 8, 32 chunks
// Consecutive lines of one direction are one stream; how it is split depends on the system.
class LineLog {
public:
    [[nodiscard]] bool open(const QString& path, QString* error);
    [[nodiscard]] bool isOpen() const { return m_file.isOpen(); }

    void received(const QByteArray& bytes) { line('>', hexBytes(bytes)); }
    void sent(const QByteArray& bytes) { line('<', hexBytes(bytes)); }
    void event(const QString& text) { line('#', text.toUtf8()); }

private:
    [[nodiscard]] static QByteArray hexBytes(const QByteArray& bytes);
    void line(char direction, const QByteArray& text);

    QFile m_file;
    QElapsedTimer m_clock;
};
