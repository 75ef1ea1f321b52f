// The grid's cell texts: rebuilt from the image, single cells laid over them; marks of the
// cells a comparison found different.
#include "image/HexGridModel.h"
#include "image/ImageComparison.h"

#include <QSignalSpy>
#include <QTest>

class HexGridModelTest : public QObject {
    Q_OBJECT
private slots:
    void headerAndLabels();
    void cellsOfARebuild();
    void writtenCellsLagTheImage();
    void emptyImageLeavesTheHeader();
    void oneMegabitImage();
    void marksLastUntilAnEditOrARebuild();
    void refreshedRowsFollowTheImage();
};

void HexGridModelTest::headerAndLabels()
{
    HexGridModel model;
    model.rebuild(QByteArray(256, '\xFF'));
    QCOMPARE(model.cellText(0, 0), QString());
    model.setLabelHeader(QStringLiteral("　Adr."));
    QCOMPARE(model.cellText(0, 0), QStringLiteral("　Adr."));
    QCOMPARE(model.cellText(0, 1), QStringLiteral("0x00"));
    QCOMPARE(model.cellText(0, 16), QStringLiteral("0x0F"));
    QCOMPARE(model.cellText(0, 17), QStringLiteral("ASCII"));
    QCOMPARE(model.cellText(1, 0), QStringLiteral("0x00000"));
    QCOMPARE(model.cellText(16, 0), QStringLiteral("0x000F0"));
    // The view shows row 0 and column 0 as its headers.
    QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("0x00"));
    QCOMPARE(model.headerData(16, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("ASCII"));
    QCOMPARE(model.headerData(15, Qt::Vertical, Qt::DisplayRole).toString(),
             QStringLiteral("0x000F0"));
    QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignCenter));
    QCOMPARE(model.headerData(16, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignLeft | Qt::AlignVCenter));
}

void HexGridModelTest::cellsOfARebuild()
{
    QByteArray image(256, '\xFF');
    image[0x10] = '\x41';
    image[0x11] = '\xB1';
    HexGridModel model;
    model.rebuild(image);
    QCOMPARE(model.rowCount(), 16);
    QCOMPARE(model.columnCount(), 17);
    QCOMPARE(model.data(model.index(1, 0), Qt::DisplayRole).toString(), QStringLiteral("0x41"));
    QCOMPARE(model.data(model.index(1, 16), Qt::DisplayRole).toString(),
             QStringLiteral("Aｱ･･････････････"));
    QCOMPARE(model.data(model.index(1, 0), Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    QCOMPARE(model.data(model.index(1, 16), Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignLeft | Qt::AlignVCenter));
    QCOMPARE(model.cellText(17, 1), QString());
    QCOMPARE(model.cellText(1, 18), QString());
}

void HexGridModelTest::writtenCellsLagTheImage()
{
    HexGridModel model;
    model.rebuild(QByteArray(256, '\xFF'));
    QSignalSpy changed(&model, &HexGridModel::dataChanged);
    model.setCellText(3, 6, QStringLiteral("0x41"));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex(), model.index(2, 5));
    QCOMPARE(model.cellText(3, 6), QStringLiteral("0x41"));
    // Only that cell: the row's text cell still shows the rebuild.
    QCOMPARE(model.cellText(3, 17), QString(16, QChar(0xFF65)));
    QCOMPARE(model.cellText(3, 5), QStringLiteral("0xFF"));
    model.setCellText(3, 17, QStringLiteral("text"));
    QCOMPARE(model.cellText(3, 17), QStringLiteral("text"));
    // Outside the grid nothing is kept.
    model.setCellText(40, 1, QStringLiteral("x"));
    QCOMPARE(model.cellText(40, 1), QString());
    // A rebuild drops the written cells.
    model.rebuild(QByteArray(256, '\0'));
    QCOMPARE(model.cellText(3, 6), QStringLiteral("0x00"));
    QCOMPARE(model.cellText(3, 17), QString(16, QChar(0xFF65)));
}

void HexGridModelTest::emptyImageLeavesTheHeader()
{
    HexGridModel model;
    model.rebuild(QByteArray(32, '\0'));
    model.clear();
    QCOMPARE(model.gridRowCount(), 1);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.cellText(0, 17), QStringLiteral("ASCII"));
    QCOMPARE(model.cellText(1, 1), QString());
}

void HexGridModelTest::oneMegabitImage()
{
    QByteArray image(131072, '\xFF');
    image[131071] = '~';
    HexGridModel model;
    model.rebuild(image);
    QCOMPARE(model.gridRowCount(), 8193);
    QCOMPARE(model.cellText(8192, 0), QStringLiteral("0x1FFF0"));
    QCOMPARE(model.cellText(8192, 16), QStringLiteral("0x7E"));
    QCOMPARE(model.cellText(8192, 17).right(1), QStringLiteral("~"));
}

QTEST_GUILESS_MAIN(HexGridModelTest)
#include "tst_hex_grid_model.moc"

void HexGridModelTest::marksLastUntilAnEditOrARebuild()
{
    QByteArray image(256, '\x00');
    QByteArray chip = image;
    chip[0x00] = '\x01';
    chip[0x25] = '\x01';
    chip[0xFF] = '\x01';
    const Comparison comparison = compareRange(image, chip, 0, 256);
    QCOMPARE(comparison.mismatches, 3);
    HexGridModel model;
    model.rebuild(image);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setMarks(comparison.differing);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(model.markCount(), 3);
    QVERIFY(model.isMarked(1, 1));
    QVERIFY(model.isMarked(3, 6));
    QVERIFY(model.isMarked(16, 16));
    QVERIFY(!model.isMarked(3, 5));
    QVERIFY(!model.isMarked(3, 17));
    QVERIFY(model.data(model.index(2, 5), HexGridModel::kMarkedRole).toBool());
    QVERIFY(!model.data(model.index(2, 4), HexGridModel::kMarkedRole).toBool());

    // Rewriting a byte cell (the editor, a byte read) takes its mark away; the row's text cell
    // does not.
    model.setCellText(3, 17, QStringLiteral("x"));
    QVERIFY(model.isMarked(3, 6));
    model.setCellText(3, 6, QStringLiteral("0x01"));
    QVERIFY(!model.isMarked(3, 6));
    QCOMPARE(model.markCount(), 2);

    // A comparison without differences takes the marks away, as does a rebuild.
    model.setMarks(compareRange(image, image, 0, 256).differing);
    QCOMPARE(model.markCount(), 0);
    model.setMarks(comparison.differing);
    model.rebuild(image);
    QCOMPARE(model.markCount(), 0);
    QVERIFY(!model.isMarked(1, 1));
}

// An edit of a range (an undo, a fill) repaints only the rows that hold it, from the image.
void HexGridModelTest::refreshedRowsFollowTheImage()
{
    QByteArray image(256, '\x00');
    HexGridModel model;
    model.rebuild(image);
    model.setCellText(3, 1, QStringLiteral("0x41"));
    model.setCellText(5, 1, QStringLiteral("0x42"));
    QBitArray marks(256);
    marks.setBit(0x20);
    marks.setBit(0x40);
    model.setMarks(marks);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    image.replace(0x1E, 4, "ABCD");
    model.refreshRange(image, 0x1E, 4);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex(), model.index(1, 0));
    QCOMPARE(changed.at(0).at(1).toModelIndex(), model.index(2, 16));
    QCOMPARE(model.cellText(2, 15), QStringLiteral("0x41"));
    QCOMPARE(model.cellText(3, 1), QStringLiteral("0x43"));  // the written text is gone
    QCOMPARE(model.cellText(3, 17).left(2), QStringLiteral("CD"));
    QVERIFY(!model.isMarked(3, 1));
    // Rows outside the range keep what they had.
    QCOMPARE(model.cellText(5, 1), QStringLiteral("0x42"));
    QVERIFY(model.isMarked(5, 1));

    // An image of another size is rebuilt whole.
    model.refreshRange(QByteArray(32, '\xFF'), 0, 1);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.cellText(2, 16), QStringLiteral("0xFF"));
}
