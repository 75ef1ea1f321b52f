// Finding patterns in the image (next, previous, round the ends, all of them), the selection's
// moves, and the summary the status bar shows of it.
#include "editing/ImageSearch.h"
#include "editing/RangeSummary.h"
#include "editing/Selection.h"

#include <QTest>

namespace {

constexpr qint64 kPart = 131072;

// A blank 1 Mbit image holding "DEADBEEF" at 0x100 and 0x1F000.
QByteArray partWithTwoMatches()
{
    QByteArray image(kPart, '\xFF');
    image.replace(0x100, 4, "\xDE\xAD\xBE\xEF");
    image.replace(0x1F000, 4, "\xDE\xAD\xBE\xEF");
    return image;
}

}  // namespace

class SearchSelectionTest : public QObject {
    Q_OBJECT
private slots:
    void find_data();
    void find();
    void findAllIsBounded();
    void selectionMoves_data();
    void selectionMoves();
    void selectionKeys();
    void summary();
};

void SearchSelectionTest::find_data()
{
    QTest::addColumn<bool>("forward");
    QTest::addColumn<qint64>("from");
    QTest::addColumn<qint64>("found");  // -1: none
    QTest::addColumn<bool>("wrapped");
    QTest::newRow("next from the start") << true << qint64{0} << qint64{0x100} << false;
    QTest::newRow("next at a match") << true << qint64{0x100} << qint64{0x100} << false;
    QTest::newRow("next after a match") << true << qint64{0x101} << qint64{0x1F000} << false;
    QTest::newRow("next wraps round the end") << true << qint64{0x1F001} << qint64{0x100} << true;
    QTest::newRow("next from past the end wraps") << true << kPart << qint64{0x100} << true;
    QTest::newRow("previous") << false << qint64{0x1FFFF} << qint64{0x1F000} << false;
    QTest::newRow("previous before a match") << false << qint64{0x1EFFF} << qint64{0x100} << false;
    QTest::newRow("previous wraps round the start")
        << false << qint64{0xFF} << qint64{0x1F000} << true;
    QTest::newRow("previous from before the start wraps")
        << false << qint64{-1} << qint64{0x1F000} << true;
}

void SearchSelectionTest::find()
{
    QFETCH(bool, forward);
    QFETCH(qint64, from);
    QFETCH(qint64, found);
    QFETCH(bool, wrapped);
    const QByteArray image = partWithTwoMatches();
    const QByteArray pattern("\xDE\xAD\xBE\xEF");
    const std::optional<ImageSearch::Match> match =
        forward ? ImageSearch::findNext(image, pattern, from)
                : ImageSearch::findPrevious(image, pattern, from);
    QVERIFY(match);
    QCOMPARE(match->address, found);
    QCOMPARE(match->wrapped, wrapped);

    // A pattern that is nowhere, and one that would run over the end into address 0.
    QByteArray edges = image;
    edges.replace(kPart - 2, 2, "\xDE\xAD");
    edges.replace(0, 2, "\xBE\xEF");
    edges.replace(0x100, 1, "\x00", 1);
    edges.replace(0x1F000, 1, "\x00", 1);
    QCOMPARE(ImageSearch::findNext(edges, pattern, from).has_value(), false);
    QCOMPARE(ImageSearch::findPrevious(edges, pattern, from).has_value(), false);
}

void SearchSelectionTest::findAllIsBounded()
{
    const QByteArray blank(kPart, '\xFF');
    const ImageSearch::Matches all = ImageSearch::findAll(blank, "\xFF\xFF", {0, kPart}, 1000);
    QCOMPARE(all.addresses.size(), 1000);
    QVERIFY(all.truncated);
    QCOMPARE(all.addresses.at(1), qint64{1});  // overlapping matches count

    const ImageSearch::Matches some =
        ImageSearch::findAll(partWithTwoMatches(), "\xDE\xAD\xBE\xEF", {0x100, 0x1F000 - 0x100});
    QCOMPARE(some.addresses, QList<qint64>{0x100});  // the second begins outside the range
    QVERIFY(!some.truncated);
    const QBitArray marks = some.markedBytes(kPart, 4);
    QCOMPARE(marks.count(true), 4);
    QVERIFY(marks.testBit(0x103) && !marks.testBit(0x104));
}

void SearchSelectionTest::selectionMoves_data()
{
    QTest::addColumn<qint64>("cursor");
    QTest::addColumn<int>("move");
    QTest::addColumn<qint64>("start");  // of the range, anchored at 0x55
    QTest::addColumn<qint64>("length");
    using Move = Selection::Move;
    // 256 bytes, 4 rows on screen: a page is 64 bytes.
    QTest::newRow("right") << qint64{0x55} << int(Move::Right) << qint64{0x55} << qint64{2};
    QTest::newRow("left past the anchor")
        << qint64{0x55} << int(Move::Left) << qint64{0x54} << qint64{2};
    QTest::newRow("down") << qint64{0x55} << int(Move::RowDown) << qint64{0x55} << qint64{17};
    QTest::newRow("up") << qint64{0x55} << int(Move::RowUp) << qint64{0x45} << qint64{17};
    QTest::newRow("page down") << qint64{0x55} << int(Move::PageDown) << qint64{0x55} << qint64{65};
    QTest::newRow("page down stops in the last row")
        << qint64{0xE0} << int(Move::PageDown) << qint64{0x55} << qint64{0xF0 - 0x55 + 1};
    QTest::newRow("page up stops in the first row")
        << qint64{0x20} << int(Move::PageUp) << qint64{0x00} << qint64{0x56};
    QTest::newRow("row start") << qint64{0x55} << int(Move::RowStart) << qint64{0x50} << qint64{6};
    QTest::newRow("row end") << qint64{0x55} << int(Move::RowEnd) << qint64{0x55} << qint64{11};
    QTest::newRow("last") << qint64{0x55} << int(Move::Last) << qint64{0x55} << qint64{0xAB};
    QTest::newRow("right at the end stays")
        << qint64{0xFF} << int(Move::Right) << qint64{0x55} << qint64{0xAB};
    QTest::newRow("left at the start stays")
        << qint64{0x00} << int(Move::Left) << qint64{0x00} << qint64{0x56};
}

void SearchSelectionTest::selectionMoves()
{
    QFETCH(qint64, cursor);
    QFETCH(int, move);
    QFETCH(qint64, start);
    QFETCH(qint64, length);
    Selection selection;
    selection.collapseTo(0x55);
    selection.extendTo(cursor);
    selection.extend(Selection::Move(move), 256, 4);
    QCOMPARE(selection.range(), (AddressRange{start, length}));
    QCOMPARE(selection.anchor(), qint64{0x55});
}

void SearchSelectionTest::selectionKeys()
{
    using Move = Selection::Move;
    const auto shift = Qt::KeyboardModifiers(Qt::ShiftModifier);
    QCOMPARE(Selection::moveForKey(Qt::Key_Down, shift), std::optional<Move>(Move::RowDown));
    QCOMPARE(Selection::moveForKey(Qt::Key_PageUp, shift | Qt::KeypadModifier),
             std::optional<Move>(Move::PageUp));
    QCOMPARE(Selection::moveForKey(Qt::Key_End, shift | Qt::ControlModifier),
             std::optional<Move>(Move::Last));
    QCOMPARE(Selection::moveForKey(Qt::Key_Down, Qt::NoModifier), std::nullopt);
    QVERIFY(Selection::isSelectAllKey(Qt::Key_A, Qt::ControlModifier));
    QVERIFY(!Selection::isSelectAllKey(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier));

    Selection selection;
    selection.selectAll(256);
    QCOMPARE(selection.range(), (AddressRange{0, 256}));
    selection.clampTo(16);
    QCOMPARE(selection.range(), (AddressRange{0, 16}));
}

void SearchSelectionTest::summary()
{
    QByteArray image(256, '\xFF');
    image.replace(0x10, 9, "123456789");
    const RangeSummary digits = RangeSummary::of(image, {0x10, 9});
    QCOMPARE(digits.start, qint64{0x10});
    QCOMPARE(digits.last, qint64{0x18});
    QCOMPARE(digits.length, qint64{9});
    QCOMPARE(digits.sum16, std::uint16_t{0x01DD});
    QCOMPARE(digits.crc32, std::uint32_t{0xCBF43926});
    // Cut to the image.
    const RangeSummary tail = RangeSummary::of(image, {0xF0, 0x100});
    QCOMPARE(tail.length, qint64{16});
    QCOMPARE(tail.sum16, std::uint16_t{0x0FF0});
}

QTEST_GUILESS_MAIN(SearchSelectionTest)
#include "tst_search_selection.moc"
