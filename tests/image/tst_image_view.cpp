// The grid rebuild, the buffer clear, the listing file and the start-up wiring on the main
// window.
#include "ImageWindowFixture.h"
#include "app/gui/Startup.h"
#include "image/ListingPath.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class ImageViewTest : public QObject {
    Q_OBJECT
private slots:
    void rebuildOfABlankImage();
    void rebuildAfterALoad();
    void bufferClear_data();
    void bufferClear();
    void checksumOfEachSize_data();
    void checksumOfEachSize();
    void columnsFitTheirTexts();
    void listingKeepsTheLastRebuild();
    void unwritableListingStillRebuildsEverything();
    void startupLoadsTheEditorOnce();
    void noUsableDevice();
};

void ImageViewTest::rebuildOfABlankImage()
{
    ImageWindowFixture f;
    QCOMPARE(f.view().gridRows(), 17);
    QCOMPARE(f.cell(1, 0), QStringLiteral("0x00000"));
    QCOMPARE(f.cell(16, 0), QStringLiteral("0x000F0"));
    for (int column = 1; column <= 16; ++column)
        QCOMPARE(f.cell(16, column), QStringLiteral("0xFF"));
    QCOMPARE(f.cell(9, 17), QString(16, QChar(0xFF65)));
    QCOMPARE(f.view().currentRow(), 1);
    QCOMPARE(f.view().currentColumn(), 1);
    QCOMPARE(f.c().LblCheckSUM->text(), QStringLiteral("CheckSum:FF00"));
    QCOMPARE(f.c().Text_modify_hex->text(), QStringLiteral("FF"));
    QCOMPARE(f.c().Text_modify_dec->text(), QStringLiteral("255"));
    QCOMPARE(f.panel(3), QStringLiteral("ADDRESS:0"));
    f.view().ShowImage();
    QCOMPARE(f.panel(1), QStringLiteral("終了"));
    QCOMPARE(f.window->cursor().shape(), Qt::ArrowCursor);

    const QList<QByteArray> lines = readFile(listingFilePath(f.state.appFolder)).split('\n');
    QCOMPARE(lines.size(), 17);  // 16 lines and the empty rest after the last line end
    QCOMPARE(lines.first(),
             "0x00000\t" + QByteArray("0xFF\t").repeated(16) + QByteArray(16, '\xA5') + "\r");
}

void ImageViewTest::rebuildAfterALoad()
{
    ImageWindowFixture f;
    f.clickCell(5, 5);
    QByteArray image(256, '\0');
    image.replace(0x40, 6, "EEPROM");
    f.showImage(image);
    QCOMPARE(f.cell(5, 17), QStringLiteral("EEPROM･･････････"));
    QCOMPARE(f.cell(5, 1), QStringLiteral("0x45"));
    // Back to the first byte.
    QCOMPARE(f.view().currentAddress(), std::optional<qint64>(0));
    QCOMPARE(f.c().Text_modify_dec->text(), QStringLiteral("0"));
    QCOMPARE(f.c().LblCheckSUM->text(), QStringLiteral("CheckSum:01C8"));
}

void ImageViewTest::bufferClear_data()
{
    QTest::addColumn<bool>("fromMenu");
    QTest::newRow("button") << false;
    QTest::newRow("menu") << true;
}

void ImageViewTest::bufferClear()
{
    QFETCH(bool, fromMenu);
    ImageWindowFixture f;
    f.showImage(QByteArray(256, '\x12'));
    f.clickCell(3, 3);
    if (fromMenu) {
        f.c().mnuBufferClear->trigger();
    } else {
        QTest::mouseClick(f.c().Command1, Qt::LeftButton);
    }
    QCOMPARE(f.state.image.bytes(), QByteArray(256, '\xFF'));
    QCOMPARE(f.c().LblCheckSUM->text(), QStringLiteral("CheckSum:FF00"));
    QCOMPARE(f.panel(1), QStringLiteral("ＰＣのバッファをクリアしました。"));
    QCOMPARE(f.c().Text_modify_hex->text(), QStringLiteral("FF"));
    QCOMPARE(f.c().Text_modify_dec->text(), QStringLiteral("255"));
    QCOMPARE(f.panel(3), QStringLiteral("ADDRESS:0"));
    QCOMPARE(f.cell(3, 3), QStringLiteral("0xFF"));
}

void ImageViewTest::checksumOfEachSize_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("checksum");
    QTest::addColumn<QString>("lastLabel");
    QTest::newRow("16 bytes") << "24C00" << 2 << "CheckSum:0FF0"
                              << "0x00000";
    QTest::newRow("128 bytes") << "24C01" << 9 << "CheckSum:7F80"
                               << "0x00070";
    QTest::newRow("2048 bytes") << "24C16" << 129 << "CheckSum:F800"
                                << "0x007F0";
    QTest::newRow("131072 bytes") << "24C1024" << 8193 << "CheckSum:0000"
                                  << "0x1FFF0";
}

void ImageViewTest::checksumOfEachSize()
{
    QFETCH(QString, device);
    QFETCH(int, rows);
    QFETCH(QString, checksum);
    QFETCH(QString, lastLabel);
    ImageWindowFixture f(device);
    QCOMPARE(f.view().gridRows(), rows);
    QCOMPARE(f.c().LblCheckSUM->text(), checksum);
    QCOMPARE(f.cell(rows - 1, 0), lastLabel);
    QCOMPARE(f.c().MSFGrid1->model()->rowCount(), rows - 1);
}

void ImageViewTest::columnsFitTheirTexts()
{
    ImageWindowFixture f("24C1024");
    QTableView* grid = f.c().MSFGrid1;
    const QFontMetrics metrics(grid->font());
    QVERIFY(grid->verticalHeader()->width() > metrics.horizontalAdvance("0x1FFF0"));
    for (int column = 0; column < 16; ++column) {
        QVERIFY(grid->columnWidth(column) > metrics.horizontalAdvance("0xFF"));
    }
    QVERIFY(grid->columnWidth(16) > metrics.horizontalAdvance(QString(16, QChar(0xFF71))));
    QVERIFY(grid->rowHeight(0) >= metrics.height());
}

void ImageViewTest::listingKeepsTheLastRebuild()
{
    ImageWindowFixture f;
    const QString path = listingFilePath(f.state.appFolder);
    const QByteArray rebuilt = readFile(path);
    QCOMPARE(rebuilt.size(), 16 * 106);
    f.clickCell(1, 1);
    QTest::keyClicks(f.c().Text_modify_hex, QStringLiteral("4"));
    QCOMPARE(f.byteAt(0), 0x04);
    QCOMPARE(readFile(path), rebuilt);
    f.view().ShowImage();
    QVERIFY(readFile(path).startsWith("0x00000\t0x04\t"));
}

void ImageViewTest::unwritableListingStillRebuildsEverything()
{
    ImageWindowFixture f("24C01");
    // Folders in the way of the file, both beside the program and in the per-user fallback.
    QFile::remove(f.state.appFolder + "temp.txt");
    QVERIFY(QDir().mkpath(f.state.appFolder + "temp.txt"));
    const QString path = listingFilePath(f.state.appFolder);
    QVERIFY(path != f.state.appFolder + "temp.txt");
    QFile::remove(path);
    QVERIFY(QDir().mkpath(path));
    f.selectDevice("24C02");
    QVERIFY(!f.view().listingWritten());
    QCOMPARE(f.view().gridRows(), 17);
    QCOMPARE(f.cell(16, 16), QStringLiteral("0xFF"));
    QCOMPARE(f.c().LblCheckSUM->text(), QStringLiteral("CheckSum:FF00"));
    QCOMPARE(f.c().Text_modify_hex->text(), QStringLiteral("FF"));
    QCOMPARE(f.view().currentAddress(), std::optional<qint64>(0));
    QVERIFY(f.c().MSFGrid1->isVisible());
    QCOMPARE(f.window->cursor().shape(), Qt::ArrowCursor);
    f.view().ShowImage();
    QCOMPARE(f.panel(1), QStringLiteral("終了"));

    QVERIFY(QDir(path).removeRecursively());
    f.view().ShowImage();
    QVERIFY(f.view().listingWritten());
    QCOMPARE(readFile(path).size(), 16 * 106);
}

void ImageViewTest::startupLoadsTheEditorOnce()
{
    TestEnvironment environment;
    FakeUserDialogs dialogs;
    FakeDesktopOpener desktop;
    Startup startup({environment.appFolder(), environment.lockFilePath(), &dialogs, &desktop});
    QVERIFY(startup.run());
    MainWindow* window = startup.mainWindow();
    QVERIFY(!window->imageView().updating());
    QCOMPARE(window->controls().Text_modify_hex->text(), QStringLiteral("FF"));
    QCOMPARE(window->controls().Text_modify_dec->text(), QStringLiteral("255"));
    QCOMPARE(window->statusPanels().text(3), QStringLiteral("ADDRESS:0"));
    QCOMPARE(window->controls().LblCheckSUM->text(), QStringLiteral("CheckSum:0FF0"));
    QVERIFY(QFile::exists(environment.appFolder() + "temp.txt"));
    // The editor works once the program runs.
    QTest::keyClicks(window->controls().Text_modify_hex, QStringLiteral("1"));
    QCOMPARE(startup.state().image.at(0), 0x01);
}

void ImageViewTest::noUsableDevice()
{
    TestEnvironment environment;
    environment.writeDataFile(
        QStringLiteral("; nothing but a comment\r\nvorle6.ini Ver 9.99\r\n"
                       "BAD 1Kbit 2 x 8 0 0\r\n"));
    FakeUserDialogs dialogs;
    FakeDesktopOpener desktop;
    Startup startup({environment.appFolder(), environment.lockFilePath(), &dialogs, &desktop});
    QVERIFY(startup.run());
    MainWindow* window = startup.mainWindow();
    MainWindowControls& c = window->controls();
    ImageView& view = window->imageView();
    QCOMPARE(view.gridRows(), 1);
    QCOMPARE(view.currentAddress(), std::nullopt);
    QCOMPARE(c.LblCheckSUM->text(), QStringLiteral("CheckSum:0000"));
    QCOMPARE(c.Text_modify_hex->text(), QString());

    QTest::keyClicks(c.Text_modify_hex, QStringLiteral("AB"));
    QTest::keyClicks(c.Text_modify_dec, QStringLiteral("300"));
    QTest::keyClicks(c.Text_modify_asc, QStringLiteral("x"));
    QTest::mouseClick(c.ChkBin[2], Qt::LeftButton);
    QTest::mouseClick(c.MSFGrid1->viewport(), Qt::LeftButton);
    QTest::keyClick(c.MSFGrid1, Qt::Key_Down);
    QTest::mouseClick(c.Command1, Qt::LeftButton);
    view.setCurrentCellText(QStringLiteral("0x00"));
    QCOMPARE(startup.state().image.size(), 0);
    QCOMPARE(view.gridRows(), 1);
    QCOMPARE(view.cellText(0, 0), QStringLiteral("　Adr."));
    QCOMPARE(window->statusPanels().text(1), QStringLiteral("ＰＣのバッファをクリアしました。"));
}

QTEST_MAIN(ImageViewTest)
#include "tst_image_view.moc"
