// The editor's keyboard moves of the current byte, and addresses typed in hexadecimal.
#include "image/GridNavigation.h"

#include <QTest>

using Move = GridNavigation::Move;

class GridNavigationTest : public QObject {
    Q_OBJECT
private slots:
    void keys_data();
    void keys();
    void target_data();
    void target();
    void typedAddress_data();
    void typedAddress();
};

void GridNavigationTest::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("move");  // -1: no move
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    QTest::newRow("Up") << int(Qt::Key_Up) << none << int(Move::RowUp);
    QTest::newRow("Down") << int(Qt::Key_Down) << none << int(Move::RowDown);
    QTest::newRow("PageUp") << int(Qt::Key_PageUp) << none << int(Move::PageUp);
    QTest::newRow("PageDown") << int(Qt::Key_PageDown) << none << int(Move::PageDown);
    QTest::newRow("Ctrl+Home") << int(Qt::Key_Home) << Qt::KeyboardModifiers(Qt::ControlModifier)
                               << int(Move::First);
    QTest::newRow("Ctrl+End") << int(Qt::Key_End) << Qt::KeyboardModifiers(Qt::ControlModifier)
                              << int(Move::Last);
    QTest::newRow("Enter") << int(Qt::Key_Return) << none << int(Move::Next);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier)
                                  << int(Move::Next);
    // Home and End alone move within the box's text; Left and Right too.
    QTest::newRow("Home") << int(Qt::Key_Home) << none << -1;
    QTest::newRow("Left") << int(Qt::Key_Left) << none << -1;
    QTest::newRow("Shift+Up") << int(Qt::Key_Up) << Qt::KeyboardModifiers(Qt::ShiftModifier) << -1;
    QTest::newRow("digit") << int(Qt::Key_A) << none << -1;
}

void GridNavigationTest::keys()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, move);
    const std::optional<Move> found = GridNavigation::moveForKey(key, modifiers);
    QCOMPARE(found ? int(*found) : -1, move);
}

void GridNavigationTest::target_data()
{
    QTest::addColumn<qint64>("from");
    QTest::addColumn<int>("move");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("to");
    const int up = int(Move::RowUp), down = int(Move::RowDown), pageUp = int(Move::PageUp),
              pageDown = int(Move::PageDown), next = int(Move::Next);
    // 10 rows on screen: a page is 160 bytes.
    QTest::newRow("up") << qint64{0x25} << up << qint64{256} << qint64{0x15};
    QTest::newRow("up in the first row stays") << qint64{5} << up << qint64{256} << qint64{5};
    QTest::newRow("down") << qint64{0x25} << down << qint64{256} << qint64{0x35};
    QTest::newRow("down in the last row stays")
        << qint64{0xF5} << down << qint64{256} << qint64{0xF5};
    QTest::newRow("page down") << qint64{0x05} << pageDown << qint64{1024} << qint64{0xA5};
    QTest::newRow("page down stops in the last row")
        << qint64{0xA5} << pageDown << qint64{256} << qint64{0xF5};
    QTest::newRow("page up") << qint64{0x1A3} << pageUp << qint64{1024} << qint64{0x103};
    QTest::newRow("page up stops in the first row")
        << qint64{0x43} << pageUp << qint64{1024} << qint64{0x03};
    QTest::newRow("first") << qint64{0x43} << int(Move::First) << qint64{131072} << qint64{0};
    QTest::newRow("last") << qint64{0x43} << int(Move::Last) << qint64{131072} << qint64{0x1FFFF};
    QTest::newRow("next") << qint64{0x43} << next << qint64{256} << qint64{0x44};
    QTest::newRow("next at the row's end") << qint64{0x4F} << next << qint64{256} << qint64{0x50};
    QTest::newRow("next at the last byte stays")
        << qint64{0xFF} << next << qint64{256} << qint64{0xFF};
}

void GridNavigationTest::target()
{
    QFETCH(qint64, from);
    QFETCH(int, move);
    QFETCH(qint64, size);
    QFETCH(qint64, to);
    QCOMPARE(GridNavigation::target(from, Move(move), size, 10), std::optional<qint64>(to));
    QCOMPARE(GridNavigation::target(from, Move(move), 0, 10), std::nullopt);
}

void GridNavigationTest::typedAddress_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("address");  // -1: refused
    QTest::newRow("digits") << "1F0" << qint64{512} << qint64{0x1F0};
    QTest::newRow("lower case with prefix") << "0x1f0" << qint64{512} << qint64{0x1F0};
    QTest::newRow("blanks around") << "  25 " << qint64{256} << qint64{0x25};
    QTest::newRow("last byte") << "1FFFF" << qint64{131072} << qint64{0x1FFFF};
    QTest::newRow("beyond the image") << "100" << qint64{256} << qint64{-1};
    QTest::newRow("not hexadecimal") << "G1" << qint64{256} << qint64{-1};
    QTest::newRow("negative") << "-1" << qint64{256} << qint64{-1};
    QTest::newRow("empty") << "" << qint64{256} << qint64{-1};
    QTest::newRow("prefix only") << "0x" << qint64{256} << qint64{-1};
    QTest::newRow("far too long") << "1000000000000" << qint64{256} << qint64{-1};
}

void GridNavigationTest::typedAddress()
{
    QFETCH(QString, text);
    QFETCH(qint64, size);
    QFETCH(qint64, address);
    const std::optional<qint64> found = GridNavigation::typedAddress(text, size);
    QCOMPARE(found.value_or(-1), address);
}

QTEST_GUILESS_MAIN(GridNavigationTest)
#include "tst_grid_navigation.moc"
