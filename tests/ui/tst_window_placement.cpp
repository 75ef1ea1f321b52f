// Where windows go on the desktop: onto the screen, fitted to a small one, a helper window
// beside its owner.
#include "ui/WindowPlacement.h"

#include <QTest>

namespace {

const QRect kSmall(0, 0, 1280, 690);  // 1280x720 less a 30-pixel panel at the bottom
const QRect kDesktop(0, 0, 1920, 1040);

}  // namespace

class WindowPlacementTest : public QObject {
    Q_OBJECT
private slots:
    void onScreen_data();
    void onScreen();
    void areaForTheScreenShowingMost();
    void besideOwner_data();
    void besideOwner();
};

void WindowPlacementTest::onScreen_data()
{
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QRect>("placed");
    QTest::newRow("well placed stays")
        << QRect(66, 66, 1008, 694) << kDesktop << QRect(66, 66, 1008, 694);
    QTest::newRow("a third off the right stays")
        << QRect(1300, 66, 1008, 694) << kDesktop << QRect(1300, 66, 1008, 694);
    QTest::newRow("mostly off the right")
        << QRect(1500, 66, 1008, 694) << kDesktop << QRect(912, 66, 1008, 694);
    QTest::newRow("mostly off the left")
        << QRect(-700, 66, 1008, 694) << kDesktop << QRect(0, 66, 1008, 694);
    QTest::newRow("wholly off, another monitor gone")
        << QRect(3000, 2000, 1008, 694) << kDesktop << QRect(912, 346, 1008, 694);
    QTest::newRow("title bar above the screen")
        << QRect(66, -40, 1008, 694) << kDesktop << QRect(66, 0, 1008, 694);
    QTest::newRow("status bar below the screen")
        << QRect(66, 400, 1008, 694) << kDesktop << QRect(66, 346, 1008, 694);
    QTest::newRow("small screen: moved up to show the status bar")
        << QRect(66, 66, 1008, 660) << kSmall << QRect(66, 30, 1008, 660);
    QTest::newRow("small screen: too tall")
        << QRect(66, 66, 1008, 760) << kSmall << QRect(66, 0, 1008, 690);
    QTest::newRow("too wide and too tall")
        << QRect(200, 100, 1408, 900) << kSmall << QRect(0, 0, 1280, 690);
    QTest::newRow("screen with an offset")
        << QRect(0, 0, 800, 600) << QRect(1920, 24, 1280, 1000) << QRect(1920, 24, 800, 600);
    QTest::newRow("no screen") << QRect(5, 5, 100, 100) << QRect() << QRect(5, 5, 100, 100);
}

void WindowPlacementTest::onScreen()
{
    QFETCH(QRect, frame);
    QFETCH(QRect, area);
    QFETCH(QRect, placed);
    QCOMPARE(WindowPlacement::onScreen(frame, area), placed);
}

void WindowPlacementTest::areaForTheScreenShowingMost()
{
    const QRect left(0, 0, 1920, 1080);
    const QRect right(1920, 0, 1280, 1024);
    const QList<QRect> areas{left, right};
    QCOMPARE(WindowPlacement::areaFor(QRect(1800, 10, 1000, 600), areas), right);
    QCOMPARE(WindowPlacement::areaFor(QRect(1000, 10, 1000, 600), areas), left);
    // Shown by none (a monitor that has gone): the first, the primary screen.
    QCOMPARE(WindowPlacement::areaFor(QRect(-5000, 10, 1000, 600), areas), left);
    QCOMPARE(WindowPlacement::areaFor(QRect(0, 0, 10, 10), {}), QRect());
}

void WindowPlacementTest::besideOwner_data()
{
    QTest::addColumn<QRect>("owner");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QPoint>("place");
    QTest::newRow("right of the owner") << QRect(66, 66, 1008, 694) << kDesktop << QPoint(1082, 66);
    QTest::newRow("left when the right has no room")
        << QRect(800, 66, 1008, 694) << kDesktop << QPoint(800 - 8 - 318, 66);
    QTest::newRow("slid up to stay on the screen")
        << QRect(66, 900, 1008, 100) << kDesktop << QPoint(1082, 1040 - 306);
    QTest::newRow("below when neither side has room")
        << QRect(0, 0, 1280, 300) << QRect(0, 0, 1280, 1024) << QPoint(0, 308);
    QTest::newRow("small screen: over the grid's bottom left")
        << QRect(66, 30, 1008, 660) << kSmall << QPoint(10, 600 - 306);
}

void WindowPlacementTest::besideOwner()
{
    QFETCH(QRect, owner);
    QFETCH(QRect, area);
    QFETCH(QPoint, place);
    const QSize size(318, 306);
    const QRect grid(10, 100, 690, 500);  // the part of the owner that may be covered
    const QRect placed = WindowPlacement::besideOwner(size, owner, grid, area);
    QCOMPARE(placed.topLeft(), place);
    QCOMPARE(placed.size(), size);
    QVERIFY(area.contains(placed));
}

QTEST_GUILESS_MAIN(WindowPlacementTest)
#include "tst_window_placement.moc"
