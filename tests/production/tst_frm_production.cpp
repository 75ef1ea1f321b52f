// The production window (オプション → 量産) on the real main window, its rounds on emulated
// boards in fake time and the line database in the test's own data folder: rounds that pass
// and fail show, count and are recorded as the log keeps them; everything that can be refused
// is refused before any board is touched; the main window waits for a round and a round for
// the main window's access; a close during a round waits for the round and its record.
#include "link/PortClaim.h"
#include "link/gui/AccessController.h"
#include "production/JobFile.h"
#include "production/LineDatabase.h"
#include "production/LogExport.h"
#include "production/Sha256.h"
#include "production/gui/BoardDisplay.h"
#include "production/gui/FrmProduction.h"
#include "production/gui/ProductionCommand.h"
#include "support/RoundLines.h"
#include "support/WindowOnBoards.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QString kPart = QStringLiteral("24C02");
const QStringList kPaths{"/dev/board0", "/dev/board1"};
constexpr qint64 kSerialAddress = 0x10;

QString nextValue(const FrmProduction& window)
{
    return window.controls().Lst_Serials->topLevelItem(0)->text(1);
}

}  // namespace

class FrmProductionTest : public QObject, public WindowOnBoards {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void aRoundShowsCountsAndRecords_data();
    void aRoundShowsCountsAndRecords();
    void roundsRunOnEveryBoardAndTheLogExports();
    void refusalsComeBeforeAnyBoardIsTouched_data();
    void refusalsComeBeforeAnyBoardIsTouched();
    void aRoundHoldsOffTheMainWindowAndACloseWaitsForIt_data();
    void aRoundHoldsOffTheMainWindowAndACloseWaitsForIt();

private:
    // A job of the whole 24C02 with a pattern and one decimal serial of 8 digits at 0x10.
    [[nodiscard]] QString writeJob(FailurePolicy policy = FailurePolicy::Burn);
    [[nodiscard]] FrmProduction& openWindow();
    void openJob(FrmProduction& window, const QString& path);
    void round(FrmProduction& window) { click(window.controls().Cmd_Round); }
    [[nodiscard]] QList<ChipRecord> records() const;
    [[nodiscard]] bool boardsUntouched() const;

    std::unique_ptr<RoundLines> m_lines;
    std::unique_ptr<QTemporaryDir> m_folder;
    QByteArray m_image;
};

void FrmProductionTest::init()
{
    setUp();
    m_folder = std::make_unique<QTemporaryDir>();
    m_lines = std::make_unique<RoundLines>(kPaths, kPart);
    m_links = m_lines.get();
    pointPortAt(kPaths.first());
    QVERIFY(start());
}

void FrmProductionTest::cleanup()
{
    tearDown();
    m_lines.reset();
    m_folder.reset();
}

QString FrmProductionTest::writeJob(FailurePolicy policy)
{
    m_image = pattern(256, 9);
    QFile image(m_folder->filePath(QStringLiteral("sensor.bin")));
    if (!image.open(QIODevice::WriteOnly) || image.write(m_image) != m_image.size()) return {};
    image.close();
    ProductionJob job;
    job.name = QStringLiteral("sensor");
    job.partName = kPart;
    job.partSize = 256;
    job.imagePath = QStringLiteral("sensor.bin");
    job.imageSha256 = sha256Text(m_image);
    job.length = 256;
    job.onFailure = policy;
    SerialField field;
    field.name = QStringLiteral("serial");
    field.address = kSerialAddress;
    field.length = 8;
    field.start = 1;
    field.last = 99999999;
    job.serials.append(field);
    const QString path = m_folder->filePath(QStringLiteral("sensor.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(jobFileText(job));
    return path;
}

FrmProduction& FrmProductionTest::openWindow()
{
    controls().mnuProduction->trigger();
    FrmProduction* production = window().findChild<FrmProduction*>(QStringLiteral("frmProduction"));
    if (!production) qFatal("no production window");
    return *production;
}

void FrmProductionTest::openJob(FrmProduction& window, const QString& path)
{
    m_dialogs.fileAnswers = {FakeUserDialogs::chosen(path)};
    click(window.controls().Cmd_OpenJob);
}

QList<ChipRecord> FrmProductionTest::records() const
{
    LineDatabase database;
    const QString station = defaultStationName();
    if (database.open(parseLineDatabaseAddress(QString(), station).value(), station).isFailure()) {
        return {};
    }
    return database.chips().records;
}

bool FrmProductionTest::boardsUntouched() const
{
    for (int board = 0; board < kPaths.size(); ++board) {
        if (!m_lines->board(board).fromPc().isEmpty()) return false;
    }
    return true;
}

void FrmProductionTest::aRoundShowsCountsAndRecords_data()
{
    QTest::addColumn<QStringList>("faults");  // of the second round's board
    QTest::addColumn<bool>("passed");
    QTest::addColumn<ChipResult>("result");
    QTest::addColumn<QString>("next");  // the serial field's next value after it
    QTest::newRow("verified") << QStringList() << true << ChipResult::Verified << "00000003";
    QTest::newRow("empty socket: mismatch, number burnt")
        << QStringList{"nochip"} << false << ChipResult::Mismatch << "00000003";
    QTest::newRow("bit stored wrong: mismatch")
        << QStringList{"flip@3"} << false << ChipResult::Mismatch << "00000003";
    QTest::newRow("no board: nothing sent, number returned")
        << QStringList{"no-answer"} << false << ChipResult::NotWritten << "00000002";
}

// Two rounds on the main window's own board: the first passes, the second meets the row's
// fault.
void FrmProductionTest::aRoundShowsCountsAndRecords()
{
    QFETCH(QStringList, faults);
    QFETCH(bool, passed);
    QFETCH(ChipResult, result);
    QFETCH(QString, next);
    FrmProduction& production = openWindow();
    const FrmProductionControls& c = production.controls();
    QCOMPARE(c.Lst_Boards->count(), 1);
    QVERIFY(c.Lst_Boards->item(0)->text().contains(kPaths.first()));
    QVERIFY(!c.Cmd_Round->isEnabled());
    openJob(production, writeJob());
    QVERIFY2(m_dialogs.messages.isEmpty(), qPrintable(m_dialogs.messages.value(0).text));
    QCOMPARE(c.Lbl_JobPart->text(), QStringLiteral("ジョブ sensor、デバイス 24C02 (256 バイト)"));
    QVERIFY(c.Lbl_JobImage->text().contains(sha256Text(m_image)));
    QCOMPARE(c.Lbl_JobRange->text(), QStringLiteral("書き込む範囲: 0x00000–0x000FF (256 バイト)"));
    QCOMPARE(nextValue(production), QStringLiteral("00000001"));

    round(production);
    m_lines->settle();
    QCOMPARE(production.boardDisplay(0)->verdict(), QStringLiteral("合格"));
    QByteArray expected = m_image;
    expected.replace(kSerialAddress, 8, "00000001");
    QCOMPARE(m_lines->board(0).contents(), expected);
    QCOMPARE(nextValue(production), QStringLiteral("00000002"));

    m_lines->nextRound({faults});
    QTest::keyClick(&production, Qt::Key_Return);  // Enter starts a round too
    m_lines->settle();
    QCOMPARE(production.boardDisplay(0)->verdict(),
             passed ? QStringLiteral("合格") : QStringLiteral("不合格"));
    QCOMPARE(c.Lbl_Passed->text(), QStringLiteral("合格: %1").arg(passed ? 2 : 1));
    QCOMPARE(c.Lbl_Failed->text(), QStringLiteral("不合格: %1").arg(passed ? 0 : 1));
    QCOMPARE(c.Lbl_Session->text(), QStringLiteral("このセッション: 2"));
    QCOMPARE(c.Lbl_LastSerial->text(), QStringLiteral("最後に発行した番号: serial=00000002"));
    QCOMPARE(c.Lst_Log->topLevelItemCount(), 2);
    QVERIFY(c.Lst_Log->topLevelItem(1)->text(4).contains(QStringLiteral("00000002")));
    QCOMPARE(nextValue(production), next);

    const QList<ChipRecord> log = records();
    QCOMPARE(log.size(), 2);
    QCOMPARE(log.at(0).result, ChipResult::Verified);
    QCOMPARE(log.at(1).result, result);
    QCOMPARE(log.at(1).port, kPaths.first());
    QCOMPARE(log.at(1).serials.value(0).text, QStringLiteral("00000002"));
    // The display says why, in the log's terms.
    QVERIFY2(production.boardDisplay(0)->detail().startsWith(QStringLiteral("チップ 2: serial=")),
             qPrintable(production.boardDisplay(0)->detail()));
    QVERIFY(m_dialogs.messages.isEmpty());
}

// A second board added by its device, a duplicate refused, a round on both, the log exported.
void FrmProductionTest::roundsRunOnEveryBoardAndTheLogExports()
{
    FrmProduction& production = openWindow();
    const FrmProductionControls& c = production.controls();
    m_dialogs.textAnswers = {TextInputResult{true, kPaths.at(1)},
                             TextInputResult{true, QStringLiteral("1")}};
    click(c.Cmd_AddPort);
    click(c.Cmd_AddPort);  // port 1 is the first board's device
    QCOMPARE(c.Lst_Boards->count(), 2);
    QCOMPARE(m_dialogs.messages.size(), 1);
    QVERIFY(m_dialogs.messages.first().text.contains(QStringLiteral("同じデバイス")));
    m_dialogs.messages.clear();
    openJob(production, writeJob());
    round(production);
    m_lines->settle();
    QCOMPARE(production.boardDisplay(0)->verdict(), QStringLiteral("合格"));
    QCOMPARE(production.boardDisplay(1)->verdict(), QStringLiteral("合格"));
    QCOMPARE(c.Lbl_Passed->text(), QStringLiteral("合格: 2"));
    QStringList serials;
    for (int board = 0; board < kPaths.size(); ++board) {
        serials.append(
            QString::fromLatin1(m_lines->board(board).contents().mid(kSerialAddress, 8)));
    }
    serials.sort();
    QCOMPARE(serials, QStringList({"00000001", "00000002"}));

    const QString exported = m_folder->filePath(QStringLiteral("log.csv"));
    m_dialogs.fileAnswers = {FakeUserDialogs::chosen(exported)};
    click(c.Cmd_ExportLog);
    QFile file(exported);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), exportLog(records(), LogFormat::Csv));
    QVERIFY(m_dialogs.messages.isEmpty());
}

void FrmProductionTest::refusalsComeBeforeAnyBoardIsTouched_data()
{
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("says");  // in the message box
    QTest::newRow("image changed before the job was opened") << "image before"
                                                             << "SHA-256";
    QTest::newRow("image changed after the job was opened") << "image after"
                                                            << "SHA-256";
    QTest::newRow("database cannot be reached") << "database"
                                                << "接続できません";
    QTest::newRow("board held by another program of ours") << "claimed"
                                                           << "使用中";
}

void FrmProductionTest::refusalsComeBeforeAnyBoardIsTouched()
{
    QFETCH(QString, refusal);
    QFETCH(QString, says);
    FrmProduction& production = openWindow();
    const QString job = writeJob();
    const auto changeImage = [&] {
        QFile image(m_folder->filePath(QStringLiteral("sensor.bin")));
        QVERIFY(image.open(QIODevice::WriteOnly));
        image.write(pattern(256, 10));
    };
    if (refusal == u"image before") changeImage();
    openJob(production, job);
    if (refusal == u"image after") changeImage();
    if (refusal == u"database") {
        m_dialogs.textAnswers = {
            TextInputResult{true, QStringLiteral("/no/such/folder/line.sqlite")}};
        click(production.controls().Cmd_Database);
        QVERIFY(production.controls().Lbl_Database->text().contains(says));
    }
    PortClaim other(PortClaim::defaultFolder(), kPaths.first());
    if (refusal == u"claimed") QVERIFY(other.acquire());
    if (refusal != u"image before") round(production);

    QVERIFY(boardsUntouched());
    QCOMPARE(m_dialogs.messages.size(), 1);
    QVERIFY2(m_dialogs.messages.first().text.contains(says),
             qPrintable(m_dialogs.messages.first().text));
    QVERIFY(production.controls().Lbl_Status->text().contains(says));
    QCOMPARE(production.boardDisplay(0)->verdict(), QStringLiteral("—"));
    QCOMPARE(production.controls().Lbl_Session->text(), QStringLiteral("このセッション: 0"));
    QVERIFY(records().isEmpty());
}

void FrmProductionTest::aRoundHoldsOffTheMainWindowAndACloseWaitsForIt_data()
{
    QTest::addColumn<bool>("mainWindow");  // the main window is closed, else the production one
    QTest::addColumn<MessageAnswer>("answer");
    QTest::newRow("production window, closed after the round") << false << MessageAnswer::Yes;
    QTest::newRow("production window, kept") << false << MessageAnswer::No;
    QTest::newRow("main window, closed after the round") << true << MessageAnswer::Yes;
}

void FrmProductionTest::aRoundHoldsOffTheMainWindowAndACloseWaitsForIt()
{
    QFETCH(bool, mainWindow);
    QFETCH(MessageAnswer, answer);
    QPointer<FrmProduction> production = &openWindow();
    openJob(*production, writeJob());
    // The main window's access holds rounds off.
    emit window().access().accessRunningChanged(true);
    QVERIFY(!production->controls().Cmd_Round->isEnabled());
    emit window().access().accessRunningChanged(false);
    QVERIFY(production->controls().Cmd_Round->isEnabled());

    bool heldOff = false;
    m_dialogs.messageAnswers = {answer};
    QTimer::singleShot(0, this, [&] {
        heldOff = production->roundRunning() && !controls().Cmd_READ_all->isEnabled() &&
                  !controls().mnuVerify->isEnabled() && !controls().Cmd_Port->isEnabled() &&
                  !production->controls().Cmd_Round->isEnabled();
        if (mainWindow) {
            window().close();
        } else {
            production->close();
        }
    });
    round(*production);
    QVERIFY(heldOff);
    QCOMPARE(m_dialogs.messages.size(), 1);
    QCOMPARE(m_dialogs.messages.first().buttons, MessageButtons::YesNo);
    QVERIFY(controls().Cmd_READ_all->isEnabled());
    QVERIFY(controls().Cmd_Port->isEnabled());
    // The round went on to its end and was recorded.
    QCOMPARE(records().value(0).result, ChipResult::Verified);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const bool closes = answer == MessageAnswer::Yes;
    QCOMPARE(production.isNull(), closes);
    QCOMPARE(window().isVisible(), !mainWindow);
}

QTEST_MAIN(FrmProductionTest)
#include "tst_frm_production.moc"
