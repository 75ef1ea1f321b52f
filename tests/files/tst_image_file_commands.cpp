#include "app/gui/MainWindow.h"
#include "app/gui/MainWindowControls.h"
#include "app/gui/QtUserDialogs.h"
#include "base/BusyIndicator.h"
#include "base/ProductInfo.h"
#include "base/SettingsStore.h"
#include "base/StatusPanels.h"
#include "devices/CatalogueLoad.h"
#include "files/ImageFileLoad.h"
#include "files/gui/FileDialogFilters.h"
#include "files/gui/ImageFileCommands.h"
#include "image/gui/DifferencesDisplay.h"
#include "image/gui/ImageView.h"
#include "session/AppServices.h"
#include "session/ProgramState.h"
#include "support/FakeDesktopOpener.h"
#include "support/FakeUserDialogs.h"
#include "support/TestDevices.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

#include <memory>

#include <sys/stat.h>

namespace {

const QString kSaveCancelled = QStringLiteral("ファイル保存をキャンセルしました。");
const QString kSaving = QStringLiteral("ファイルに保存中..... ");
const QString kSaved = QStringLiteral("ファイルに保存終了。 ");
const QString kPleaseWait = QStringLiteral("しばらくお待ちください。");
const QString kNotOpened = QStringLiteral("ファイルをオープンできませんでした。");
const QString kLoading = QStringLiteral("ファイルをロードしています..........");
const QString kLoaded = QStringLiteral("ファイルオープン完了");
const QString kCaptionBefore = QStringLiteral("before");

// Status panels and mouse pointer that remember every change.
class RecordingPanels : public StatusPanels, public BusyIndicator {
public:
    void setText(int panel, const QString& text) override
    {
        texts[panel] = text;
        if (panel == 1) history.append(text);
    }
    [[nodiscard]] QString text(int panel) const override { return texts.value(panel); }
    void setBusy(bool busy) override
    {
        this->busy = busy;
        busyChanges.append(busy);
    }

    QMap<int, QString> texts;
    QStringList history;
    bool busy = false;
    QList<bool> busyChanges;
};

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The low 16 bits of the byte sum, as the checksum label shows it.
int checkSum(const MemoryImage& image)
{
    int sum = 0;
    for (char b : image.bytes()) sum += static_cast<quint8>(b);
    return sum & 0xFFFF;
}

}  // namespace

class ImageFileCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_environment = std::make_unique<TestEnvironment>();
        m_files = std::make_unique<QTemporaryDir>();
        m_state = std::make_unique<ProgramState>();
        m_state->appFolder = m_environment->appFolder();
        m_state->catalogue = loadCatalogue(QStringLiteral(VORLE_DATA_FILE)).catalogue;
        m_settings = std::make_unique<SettingsStore>();
        m_dialogs = std::make_unique<FakeUserDialogs>();
        m_desktop = std::make_unique<FakeDesktopOpener>();
        m_panels = std::make_unique<RecordingPanels>();
        m_caption = kCaptionBefore;
        m_showImageCalls = 0;
        m_commands = std::make_unique<ImageFileCommands>(
            services(), *m_panels, *m_panels, [this](const QString& text) { m_caption = text; });
        m_commands->setShowImage([this] { ++m_showImageCalls; });
        selectDevice(8);
    }
    void cleanup()
    {
        m_commands.reset();
        m_environment.reset();
    }

    // Both dialogs start in their own remembered folder, with the filter the formats give.
    void fileDialogsArePrepared_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("folderKey");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("save") << true << "SAVE_DIR"
                              << QStringLiteral(
                                     "Hexファイル|*.hex|Sレコードファイル|*.s19;*.s28;*.s37;*.srec;"
                                     "*.mot|バイナリファイル|*.bin|全てのファイル|*.*|")
                              << QString();  // the dialog keeps its last name
        QTest::newRow("open") << false << "OPEN_DIR0"
                              << QStringLiteral(
                                     "Hexファイル|*.HEX|Sレコードファイル|*.S19;*.S28;*.S37;*.SREC;"
                                     "*.MOT|バイナリファイル|*.BIN|全てのファイル|*.*|")
                              << QStringLiteral("*.HEX");
    }
    void fileDialogsArePrepared()
    {
        QFETCH(bool, save);
        QFETCH(QString, folderKey);
        QFETCH(QString, filter);
        QFETCH(QString, fileName);
        m_settings->save(QStringLiteral("Settings"), folderKey, "/some/where");
        if (save) {
            m_commands->Cmd_SaveAs_Click();
        } else {
            m_commands->Cmd_Open_Click();
            QCOMPARE(m_panels->history.first(), kPleaseWait);
        }
        QCOMPARE(m_dialogs->fileDialogs.size(), 1);
        const FileDialogRequest& request = m_dialogs->fileDialogs.first();
        QCOMPARE(request.kind, save ? FileDialogKind::Save : FileDialogKind::Open);
        QCOMPARE(request.title, QString());
        QCOMPARE(request.initialFolder, QStringLiteral("/some/where"));
        QCOMPARE(request.filter, filter);
        QCOMPARE(request.defaultExtension, QStringLiteral("HEX"));
        QCOMPARE(request.fileName, fileName);
    }

    void saveCancelledChangesOnlyTheStatus()
    {
        m_panels->busy = true;
        m_commands->mnuFileSaveAs_Click();
        QCOMPARE(m_panels->text(1), kSaveCancelled);
        QVERIFY(!m_panels->busy);
        QCOMPARE(m_caption, kCaptionBefore);
        QCOMPARE(saveDir(), QStringLiteral("unchanged"));
        QVERIFY(m_dialogs->messages.isEmpty());
    }

    // The file name "a" also stands in the temporary folder's name, earlier in the path: the
    // remembered folder is the real one.
    void saveWritesTheImage()
    {
        for (qint64 i = 0; i < 16; ++i) m_state->image.set(i, static_cast<std::uint8_t>(i));
        QVERIFY(QDir(m_files->path()).mkpath(QStringLiteral("data")));
        const QString path = filePath(QStringLiteral("data/a"));
        QVERIFY(path.indexOf(QLatin1Char('a')) < path.size() - 1);
        m_dialogs->fileAnswers.append(FakeUserDialogs::chosen(path));
        m_commands->mnuFileSaveAs_Click();

        const QByteArray text = readAll(path);
        QVERIFY(
            text.startsWith(":10000000000102030405060708090A0B0C0D0E0F78\r\n"
                            ":10001000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF0\r\n"));
        QVERIFY(text.endsWith(":1000F000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF10\r\n:00000001FF\r\n"));
        QCOMPARE(text.count("\r\n"), 17);
        QCOMPARE(m_caption, ProductInfo::titleText() + path);
        QCOMPARE(saveDir(), filePath(QStringLiteral("data")));
        QCOMPARE(m_panels->history, (QStringList{kSaving, kSaved}));
        QCOMPARE(m_panels->busyChanges, (QList<bool>{true, false}));
        QCOMPARE(m_commands->workFilePath(), path);
        QVERIFY(m_dialogs->messages.isEmpty());
    }

    // Files of 64 KiB or less stay as other programs have always read them: no bank record;
    // a 1 Mbit image is saved whole, a bank record before each 64 KiB, without a message.
    void imageSizesAreSavedWhole_data()
    {
        QTest::addColumn<int>("exponent");  // 0: no device, an empty image
        QTest::addColumn<int>("dataRecords");
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QByteArray>("bankStep");
        QTest::newRow("no device") << 0 << 0 << QByteArray(":00000001FF\r\n") << QByteArray();
        QTest::newRow("64 KiB") << 16 << 4096 << QByteArray(":10000000FFFF") << QByteArray();
        QTest::newRow("128 KiB") << 17 << 8192 << QByteArray(":020000040000FA\r\n:10000000FFFF")
                                 << QByteArray(
                                        ":10FFF000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF11\r\n"
                                        ":020000040001F9\r\n:10000000FFFF");
    }
    void imageSizesAreSavedWhole()
    {
        QFETCH(int, exponent);
        QFETCH(int, dataRecords);
        QFETCH(QByteArray, start);
        QFETCH(QByteArray, bankStep);
        selectDevice(exponent);
        if (exponent == 0) {
            m_state->selectedDevice.reset();
            m_state->image.recreate(0);
        }
        const QString path = filePath(QStringLiteral("x.hex"));
        m_dialogs->fileAnswers.append(FakeUserDialogs::chosen(path));
        m_commands->mnuFileSaveAs_Click();

        QVERIFY(m_dialogs->messages.isEmpty());
        QCOMPARE(m_panels->text(1), kSaved);
        const QByteArray text = readAll(path);
        QVERIFY(text.startsWith(start));
        QCOMPARE(text.count(":10"), dataRecords);
        QCOMPARE(text.count(":02000004"), bankStep.isEmpty() ? 0 : 2);
        if (!bankStep.isEmpty()) QVERIFY(text.contains(bankStep));
        QVERIFY(text.endsWith(":00000001FF\r\n"));
    }

    // A refused overwrite keeps file, caption and folder; an accepted one replaces the file.
    void overwriteIsAsked()
    {
        const QString path = filePath(QStringLiteral("old.hex"));
        writeAll(path, "old contents");
        m_dialogs->fileAnswers.append(FakeUserDialogs::chosen(path));
        m_dialogs->messageAnswers.append(MessageAnswer::Cancel);
        m_commands->mnuFileSaveAs_Click();

        QCOMPARE(m_dialogs->messages.size(), 1);
        const MessageBoxRequest& question = m_dialogs->messages.first();
        QCOMPARE(question.text, QStringLiteral("ファイルが存在します。上書きしますか？"));
        QCOMPARE(question.title, QStringLiteral("上書き保存"));
        QCOMPARE(question.icon, MessageIcon::Question);
        QCOMPARE(question.buttons, MessageButtons::OkCancel);
        QCOMPARE(readAll(path), QByteArray("old contents"));
        QCOMPARE(m_caption, kCaptionBefore);
        QCOMPARE(saveDir(), QStringLiteral("unchanged"));
        QCOMPARE(m_panels->text(1), kSaveCancelled);
        QCOMPARE(m_commands->workFilePath(), path);

        m_dialogs->fileAnswers.append(FakeUserDialogs::chosen(path));
        m_commands->mnuFileSaveAs_Click();
        QCOMPARE(m_dialogs->messages.size(), 2);
        QVERIFY(readAll(path).startsWith(":10000000FFFF"));
        QCOMPARE(m_panels->text(1), kSaved);
    }

    void saveFailureIsReported_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::newRow("missing folder") << "missing/dump.hex";
        QTest::newRow("a folder") << "folder";
        // Said before the overwrite question, which the file standing there would bring.
        QTest::newRow("a file for a folder") << "file/dump.hex";
    }
    void saveFailureIsReported()
    {
        QFETCH(QString, relativePath);
        QVERIFY(QDir(m_files->path()).mkdir(QStringLiteral("folder")));
        writeAll(filePath(QStringLiteral("file")), "keep me");
        const QString path = filePath(relativePath);
        m_dialogs->fileAnswers.append(FakeUserDialogs::chosen(path));
        m_commands->mnuFileSaveAs_Click();

        QCOMPARE(m_dialogs->messages.size(), 1);
        const MessageBoxRequest& message = m_dialogs->messages.first();
        QCOMPARE(message.icon, MessageIcon::Critical);
        QVERIFY(message.text.startsWith(QStringLiteral("ファイルに保存できませんでした。")));
        const QStringList lines = message.text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(1), path);
        QVERIFY(lines.at(2).size() > QStringLiteral("原因: ").size());
        QVERIFY(!m_panels->history.contains(kSaved));
        QCOMPARE(m_panels->text(1), QStringLiteral("ファイルに保存できませんでした。"));
        QVERIFY(!m_panels->busy);
        QCOMPARE(m_caption, kCaptionBefore);
        QCOMPARE(saveDir(), QStringLiteral("unchanged"));
        QCOMPARE(readAll(filePath(QStringLiteral("file"))), QByteArray("keep me"));
    }

    void openThatFindsNoFileChangesNothing_data()
    {
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("cancelled") << false << QString();
        QTest::newRow("missing file") << true << QStringLiteral("missing.hex");
        QTest::newRow("empty name") << true << QString();
        QTest::newRow("a folder") << true << QStringLiteral(".");
        // Opens, but every read fails.
        QTest::newRow("unreadable") << true << QStringLiteral("/proc/self/mem");
    }
    void openThatFindsNoFileChangesNothing()
    {
        QFETCH(bool, accepted);
        QFETCH(QString, fileName);
        if (fileName.startsWith(u'/') && !QFileInfo::exists(fileName)) QSKIP("no /proc");
        m_state->image.set(3, 0x42);
        FileDialogResult answer;
        answer.accepted = accepted;
        if (!fileName.isEmpty()) {
            answer =
                FakeUserDialogs::chosen(fileName.startsWith(u'/') ? fileName : filePath(fileName));
        }
        m_dialogs->fileAnswers.append(answer);
        const QByteArray before = m_state->image.bytes();
        m_commands->mnuFileOpen_Click();

        QCOMPARE(m_panels->text(1), kNotOpened);
        QCOMPARE(m_state->image.bytes(), before);
        QCOMPARE(m_caption, kCaptionBefore);
        QCOMPARE(openDir(), QStringLiteral("unchanged"));
        QCOMPARE(m_showImageCalls, 0);
        QVERIFY(!m_panels->busy);
        QVERIFY(m_dialogs->messages.isEmpty());
    }

    void openLoadsTheFile()
    {
        const QString path = filePath(QStringLiteral("in.hex"));
        // The last byte makes the file an image of the part's size.
        writeAll(path, ":0100030042BA\r\n:0100FF00FF01\r\n:00000001FF\r\n");
        m_state->image.set(0, 0x00);
        m_dialogs->fileAnswers.append(FakeUserDialogs::chosen(path));
        QByteArray shown;
        m_commands->setShowImage([&] {
            ++m_showImageCalls;
            shown = m_state->image.bytes();
        });
        m_commands->mnuFileOpen_Click();

        QByteArray expected(256, '\xFF');
        expected[3] = 0x42;
        QCOMPARE(m_state->image.bytes(), expected);
        QCOMPARE(shown, expected);
        QCOMPARE(m_showImageCalls, 1);
        QCOMPARE(m_caption, ProductInfo::titleText() + path);
        QCOMPARE(openDir(), m_files->path());
        QCOMPARE(m_commands->workFilePath(), path);
        QCOMPARE(m_panels->history, (QStringList{kPleaseWait, kLoading, kLoaded}));
        QCOMPARE(m_panels->busyChanges, (QList<bool>{true, false}));
        QVERIFY(m_dialogs->messages.isEmpty());
    }

    void saveThenLoadGivesTheSameImage_data()
    {
        QTest::addColumn<int>("exponent");
        for (int exponent = 4; exponent <= 17; ++exponent) {
            QTest::addRow("%d bytes", 1 << exponent) << exponent;
        }
    }
    void saveThenLoadGivesTheSameImage()
    {
        QFETCH(int, exponent);
        selectDevice(exponent);
        QRandomGenerator generator(static_cast<quint32>(exponent));
        for (qint64 i = 0; i < m_state->image.size(); ++i) {
            m_state->image.set(i, static_cast<std::uint8_t>(generator.bounded(256)));
        }
        const QByteArray original = m_state->image.bytes();
        const int originalSum = checkSum(m_state->image);

        const QString path = filePath(QStringLiteral("round.hex"));
        m_dialogs->fileAnswers.append(FakeUserDialogs::chosen(path));
        m_commands->mnuFileSaveAs_Click();
        QCOMPARE(m_panels->text(1), kSaved);

        for (qint64 i = 0; i < m_state->image.size(); ++i) m_state->image.set(i, 0x00);
        m_dialogs->messages.clear();
        m_dialogs->fileAnswers.append(FakeUserDialogs::chosen(path));
        m_commands->mnuFileOpen_Click();
        QCOMPARE(m_panels->text(1), kLoaded);
        QVERIFY(m_dialogs->messages.isEmpty());
        QVERIFY(m_state->image.bytes() == original);
        QCOMPARE(checkSum(m_state->image), originalSum);
    }

    // A file that loads with something to say: the image takes what the file holds and one
    // message tells the rest, whole ("said") or by its parts ("saidParts").
    void loadNotices_data()
    {
        QTest::addColumn<int>("exponent");  // 0: no device chosen
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QByteArray>("imageStart");
        QTest::addColumn<bool>("warning");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QStringList>("saidParts");

        QByteArray beyond;
        for (int address = 0; address < 256; address += 16) {
            QString record =
                QStringLiteral(":10%1").arg(address, 4, 16, QLatin1Char('0')).toUpper() + "00" +
                QString(32, QLatin1Char('0'));
            beyond += record.toLatin1() + "00\r\n";  // checksums deliberately wrong
        }
        QTest::newRow("data beyond the part")
            << 7 << "big.hex" << beyond << QByteArray(128, '\0') << true << QString()
            << QStringList{QStringLiteral("最終アドレス 0x007F"),
                           QStringLiteral("アドレス 0x0080 から"),
                           QStringLiteral("チェックサムが正しくないレコードが 15 件")};
        QTest::newRow("bad checksums")
            << 8 << "bad.hex"
            << QByteArray(
                   ":0100000055AB\r\n:0100010066FF\r\n:0100020077FF\r\n:0100030088FF\r\n"
                   ":0100040099FF\r\n:010005000DED\r\n:0100FF00FF01\r\n:00000001FF\r\n")
            << QByteArray("\x55\x66\x77\x88\x99\x0D") << false
            << QStringLiteral(
                   "チェックサムが正しくないレコードが 5 件ありました。\r\n"
                   "それらのデータもそのまま読み込みました。")
            << QStringList();
        QTest::newRow("lines that are not records")
            << 8 << "notes.hex"
            << QByteArray("; dumped 2024\r\n:0100000042BD\r\n:0100FF00FF01\r\n\r\nend\r\n")
            << QByteArray("\x42") << false
            << QStringLiteral(
                   "レコードではない行が 2 行ありました（最初は 1 行目）。\r\n"
                   "それらの行は読み飛ばしました。")
            << QStringList();
        QTest::newRow("binary shorter than the part")
            << 8 << "short.bin" << QByteArray(100, '\x11')
            << QByteArray(100, '\x11') + QByteArray("\xFF") << true
            << QStringLiteral(
                   "ファイルは 100 バイトで、デバイスの容量 256 バイトより短いため、"
                   "アドレス 0x0064 から後は 0xFF のままです。\r\n"
                   "ファイルは 100 バイトのイメージで、デバイスの容量 256 バイトと"
                   "合いません。\r\n"
                   "このファイルに合うデバイスは vorle6.ini にありません。")
            << QStringList();
        QTest::newRow("no device")
            << 0 << "in.hex" << QByteArray(":0100030042BA\r\n:00000001FF\r\n") << QByteArray()
            << false << QString() << QStringList{QStringLiteral("デバイスが選択されていない")};
    }
    void loadNotices()
    {
        QFETCH(int, exponent);
        QFETCH(QString, name);
        QFETCH(QByteArray, contents);
        QFETCH(QByteArray, imageStart);
        QFETCH(bool, warning);
        QFETCH(QString, said);
        QFETCH(QStringList, saidParts);
        if (exponent == 0) {
            m_state->selectedDevice.reset();
        } else {
            selectDevice(exponent);
        }
        const QString path = filePath(name);
        writeAll(path, contents);
        m_dialogs->fileAnswers.append(FakeUserDialogs::chosen(path));
        m_commands->mnuFileOpen_Click();

        QCOMPARE(m_state->image.bytes().left(imageStart.size()), imageStart);
        if (exponent == 0) QCOMPARE(m_state->image.size(), qint64{0});
        if (exponent == 7) QCOMPARE(m_state->image.size(), qint64{128});
        QVERIFY(m_panels->text(1).startsWith(kLoaded));  // a binary file adds its format
        QCOMPARE(m_showImageCalls, 1);
        QCOMPARE(m_dialogs->messages.size(), 1);
        const MessageBoxRequest& message = m_dialogs->messages.first();
        if (warning) QCOMPARE(message.icon, MessageIcon::Warning);
        if (!said.isEmpty()) QCOMPARE(message.text, said);
        for (const QString& part : saidParts)
            QVERIFY2(message.text.contains(part), qPrintable(message.text));
    }

    void saveFormatFollowsTheExtensionOrTheFilter_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("extension") << "a.s19" << 0 << QByteArray("S0030000FC\r\nS1130000");
        QTest::newRow("binary filter") << "a.dat" << 2 << QByteArray("\x12\xFF", 2);
        QTest::newRow("S-record filter") << "a" << 1 << QByteArray("S0030000FC");
        QTest::newRow("all files") << "a.dat" << 3 << QByteArray(":1000000012FF");
    }
    void saveFormatFollowsTheExtensionOrTheFilter()
    {
        QFETCH(QString, name);
        QFETCH(int, filterIndex);
        QFETCH(QByteArray, start);
        m_state->image.set(0, 0x12);
        FileDialogResult answer = FakeUserDialogs::chosen(filePath(name));
        answer.filterIndex = filterIndex;
        m_dialogs->fileAnswers.append(answer);
        m_commands->mnuFileSaveAs_Click();
        QCOMPARE(m_panels->history, (QStringList{kSaving, kSaved}));
        QVERIFY(readAll(filePath(name)).startsWith(start));
    }

    // Intel HEX chosen by name says nothing more; any other format, or one found from the
    // content, is named in the status text.
    void openNamesTheFormat_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("firstByte");
        QTest::newRow("Intel HEX by extension")
            << "a.hex" << 0 << QByteArray(":0100000042BD\r\n") << kLoaded << 0x42;
        QTest::newRow("Intel HEX by content")
            << "a.dat" << 0 << QByteArray(":0100000042BD\r\n")
            << kLoaded + QStringLiteral("（Intel HEX形式）") << 0x42;
        QTest::newRow("S-records by content")
            << "a.dat" << 3 << QByteArray("S104000042B9\n")
            << kLoaded + QStringLiteral("（Sレコード形式）") << 0x42;
        QTest::newRow("S-records by extension")
            << "a.mot" << 0 << QByteArray("S104000042B9\n")
            << kLoaded + QStringLiteral("（Sレコード形式）") << 0x42;
        QTest::newRow("binary by filter")
            << "a.dat" << 2 << QByteArray(":0100000042BD\r\n")
            << kLoaded + QStringLiteral("（バイナリ形式）") << int{':'};
    }
    void openNamesTheFormat()
    {
        QFETCH(QString, name);
        QFETCH(int, filterIndex);
        QFETCH(QByteArray, contents);
        QFETCH(QString, status);
        QFETCH(int, firstByte);
        selectDevice(4);
        QByteArray full = contents;
        if (status.endsWith(QStringLiteral("（バイナリ形式）"))) full = full.leftJustified(16, 'x');
        writeAll(filePath(name), full);
        FileDialogResult answer = FakeUserDialogs::chosen(filePath(name));
        answer.filterIndex = filterIndex;
        m_dialogs->fileAnswers.append(answer);
        m_commands->mnuFileOpen_Click();
        QCOMPARE(m_panels->text(1), status);
        QCOMPARE(m_state->image.at(0), static_cast<std::uint8_t>(firstByte));
        QVERIFY(m_dialogs->messages.isEmpty());
    }

    // The image of another part is loaded as far as it goes, with both sizes and the parts
    // the file fits.
    void fileOfAnotherPartNamesThePartsItFits_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("said");
        QTest::newRow("a 24C02 dump for a 24C64")
            << "24C64" << QByteArray(256, '\x11')
            << QStringLiteral(
                   "ファイルは 256 バイトのイメージで、デバイスの容量 8192 バイトと"
                   "合いません。\r\nこのファイルに合うデバイス: 24C02, AT24C02, "
                   "AT24C02A");
        QTest::newRow("a page short fits") << "24C02" << QByteArray(248, '\x11') << QString();
        QTest::newRow("a 93C66 dump for a 93C46")
            << "AT93C46" << QByteArray(512, '\x11')
            << QStringLiteral(
                   "ファイルは 512 バイトのイメージで、デバイスの容量 128 バイトと"
                   "合いません。\r\nこのファイルに合うデバイス: 24C04, AT24C04, "
                   "AT24C04A, AT93C66");
    }
    void fileOfAnotherPartNamesThePartsItFits()
    {
        QFETCH(QString, part);
        QFETCH(QByteArray, contents);
        QFETCH(QString, said);
        m_state->selectedDevice = shippedDevice(part);
        m_state->image.recreate(m_state->selectedDevice->memorySize());
        const QString path = filePath(QStringLiteral("other.bin"));
        writeAll(path, contents);
        QVERIFY(m_commands->loadFile(path));
        QCOMPARE(m_state->image.at(0), std::uint8_t{0x11});
        QCOMPARE(m_dialogs->messages.size(), 1);  // a short binary file says so in any case
        if (said.isEmpty()) {
            QVERIFY(!m_dialogs->messages.first().text.contains(QStringLiteral("合いません")));
            return;
        }
        QVERIFY2(m_dialogs->messages.first().text.endsWith(said),
                 qPrintable(m_dialogs->messages.first().text));
    }

    // For a Microwire part the dialogs offer x16 dumps, whose bytes are swapped in pairs both
    // ways; for an I2C part they do not.
    void microwirePartsTakeX16Dumps()
    {
        m_state->selectedDevice = shippedDevice(QStringLiteral("AT93C46"));
        m_state->image.recreate(128);
        for (qint64 i = 0; i < 128; ++i) m_state->image.set(i, static_cast<std::uint8_t>(i));
        const QByteArray image = m_state->image.bytes();
        const QString path = filePath(QStringLiteral("x16.bin"));
        FileDialogResult answer = FakeUserDialogs::chosen(path);
        answer.filterIndex = 4;
        m_dialogs->fileAnswers.append(answer);
        m_commands->mnuFileSaveAs_Click();
        QVERIFY(m_dialogs->fileDialogs.last().filter.endsWith(QStringLiteral(
            "|16ビット (バイト入れ替え)|*.hex;*.s19;*.s28;*.s37;*.srec;*.mot;*.bin|")));
        QCOMPARE(readAll(path).left(4), QByteArray("\x01\x00\x03\x02", 4));

        m_state->image.recreate(128);
        m_dialogs->fileAnswers.append(answer);
        m_commands->mnuFileOpen_Click();
        QVERIFY(m_dialogs->fileDialogs.last().filter.contains(QStringLiteral("16ビット")));
        QCOMPARE(m_state->image.bytes(), image);
        // The same file as it is, chosen under another filter.
        answer.filterIndex = 2;
        m_dialogs->fileAnswers.append(answer);
        m_commands->mnuFileOpen_Click();
        QCOMPARE(m_state->image.at(0), std::uint8_t{0x01});

        selectDevice(7);
        m_commands->mnuFileOpen_Click();
        QVERIFY(!m_dialogs->fileDialogs.last().filter.contains(QStringLiteral("16ビット")));
    }

    // A file of hundreds of megabytes is refused by its size, unread; the image stays.
    void hugeFileIsRefused()
    {
        const QString path = filePath(QStringLiteral("huge.bin"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(qint64{300} << 20));
        }
        m_state->image.set(0, 0x42);
        QVERIFY(!m_commands->loadFile(path));
        QCOMPARE(m_state->image.at(0), std::uint8_t{0x42});
        QCOMPARE(m_panels->text(1), kNotOpened);
        QCOMPARE(m_dialogs->messages.size(), 1);
        QCOMPARE(m_dialogs->messages.first().text,
                 kNotOpened + "\r\n" + path +
                     QStringLiteral("\r\n原因: ファイルが大きすぎます（314572800 バイト）。"
                                    "16777216 バイトを超えるファイルはどのデバイスのイメージでも"
                                    "ないため、読み込みません。"));
    }

    // A file without a single data record is no blank image: the image stays as it was.
    void fileWithoutDataLeavesTheImage_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("end record only") << QByteArray(":00000001FF\r\n");
        QTest::newRow("text") << QByteArray("\xEF\xBB\xBFnot a record\r\n");
        QTest::newRow("empty") << QByteArray();
    }
    void fileWithoutDataLeavesTheImage()
    {
        QFETCH(QByteArray, contents);
        m_state->image.set(5, 0x42);
        const QByteArray before = m_state->image.bytes();
        const QString path = filePath(QStringLiteral("empty.hex"));
        writeAll(path, contents);
        m_dialogs->fileAnswers.append(FakeUserDialogs::chosen(path));
        m_commands->mnuFileOpen_Click();

        const QString noData = QStringLiteral("有効なデータレコードがありません。");
        QCOMPARE(m_state->image.bytes(), before);
        QCOMPARE(m_showImageCalls, 0);
        QCOMPARE(m_caption, kCaptionBefore);
        QCOMPARE(openDir(), QStringLiteral("unchanged"));
        QCOMPARE(m_panels->text(1), noData);
        QVERIFY(!m_panels->busy);
        QCOMPARE(m_dialogs->messages.size(), 1);
        QCOMPARE(m_dialogs->messages.first().text, noData);
        QCOMPARE(m_commands->recentFiles(), QStringList());
    }

    // A named pipe is refused at once, in both directions, before any question or trial open.
    void namedPipeIsRefused()
    {
        const QString pipe = filePath(QStringLiteral("pipe.hex"));
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const QByteArray before = m_state->image.bytes();
        m_dialogs->fileAnswers.append(FakeUserDialogs::chosen(pipe));
        m_commands->mnuFileOpen_Click();
        QCOMPARE(m_panels->text(1), kNotOpened);
        QCOMPARE(m_state->image.bytes(), before);
        QCOMPARE(m_dialogs->messages.size(), 1);
        QVERIFY(m_dialogs->messages.first().text.contains(QStringLiteral("名前付きパイプ")));

        m_dialogs->fileAnswers.append(FakeUserDialogs::chosen(pipe));
        m_commands->mnuFileSaveAs_Click();
        QCOMPARE(m_dialogs->messages.size(), 2);
        QCOMPARE(m_dialogs->messages.last().icon, MessageIcon::Critical);
        QVERIFY(m_dialogs->messages.last().text.contains(QStringLiteral("名前付きパイプ")));
        QCOMPARE(m_panels->text(1), QStringLiteral("ファイルに保存できませんでした。"));
        QCOMPARE(m_caption, kCaptionBefore);
        QVERIFY(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());
    }

    void recentFilesRememberSavesAndLoads()
    {
        MainWindow window(services());
        ImageFileCommands& commands = window.imageFileCommands();
        QMenu* menu = window.controls().mnuFileRecent;
        QCOMPARE(menu->objectName(), QStringLiteral("mnuFileRecent"));
        QCOMPARE(menu->actions().size(), 1);
        QVERIFY(!menu->actions().first()->isEnabled());

        for (int i = 0; i < 9; ++i) {
            const QString path = filePath(QStringLiteral("f%1.hex").arg(i));
            m_dialogs->fileAnswers.append(FakeUserDialogs::chosen(path));
            commands.mnuFileSaveAs_Click();
        }
        m_state->image.set(0, 0x00);
        m_dialogs->fileAnswers.append(FakeUserDialogs::chosen(filePath(QStringLiteral("f3.hex"))));
        commands.mnuFileOpen_Click();

        const QList<QAction*> entries = menu->actions();
        QCOMPARE(entries.size(), 8);
        QCOMPARE(entries.at(0)->objectName(), QStringLiteral("mnuFileRecent(0)"));
        QCOMPARE(entries.at(0)->text(), QStringLiteral("&1 ") + filePath(QStringLiteral("f3.hex")));
        QCOMPARE(entries.at(1)->text(), QStringLiteral("&2 ") + filePath(QStringLiteral("f8.hex")));
        QCOMPARE(entries.at(7)->text(), QStringLiteral("&8 ") + filePath(QStringLiteral("f1.hex")));

        // Stored: a new window shows the same list; a chosen entry loads its file.
        MainWindow again(services());
        QCOMPARE(again.controls().mnuFileRecent->actions().size(), 8);
        m_state->image.set(0, 0x00);
        again.controls().mnuFileRecent->actions().at(2)->trigger();
        QCOMPARE(m_state->image.at(0), std::uint8_t{0xFF});
        QCOMPARE(again.statusPanels().text(1), kLoaded);
        const QString f7 = filePath(QStringLiteral("f7.hex"));
        QCOMPARE(again.imageFileCommands().recentFiles().first(), f7);

        // An entry whose file has gone is said and taken out.
        QVERIFY(QFile::remove(f7));
        m_dialogs->messages.clear();
        again.controls().mnuFileRecent->actions().first()->trigger();
        QCOMPARE(again.statusPanels().text(1), kNotOpened);
        QCOMPARE(m_dialogs->messages.size(), 1);
        QCOMPARE(m_dialogs->messages.first().text,
                 QStringLiteral("ファイルが見つかりません。\r\n") + f7 +
                     QStringLiteral("\r\n最近使ったファイルの一覧から削除しました。"));
        QCOMPARE(again.imageFileCommands().recentFiles().size(), 7);
        QVERIFY(!again.imageFileCommands().recentFiles().contains(f7));
        QCOMPARE(again.controls().mnuFileRecent->actions().size(), 7);
    }

    // The image against a file: differences marked and listed like a verify's, the image
    // unchanged; an equal file says so.
    void compareWithAFileShowsTheDifferences()
    {
        MainWindow window(services());
        window.imageView().ShowImage();
        const QByteArray image = m_state->image.bytes();
        QByteArray file = image;
        file[0x21] = '\x5A';
        file[0xF0] = '\x00';
        const QString path = filePath(QStringLiteral("other.bin"));
        writeAll(path, file);
        m_dialogs->fileAnswers.append(FakeUserDialogs::chosen(path));
        window.controls().mnuFileCompare->trigger();
        QCOMPARE(m_dialogs->fileDialogs.last().title, QStringLiteral("ファイルと比較"));
        QCOMPARE(window.statusPanels().text(1),
                 QStringLiteral("ファイル比較: 2 バイト不一致 (最初 0x00021: バッファ 0xFF / "
                                "ファイル 0x5A)"));
        QCOMPARE(window.imageView().markCount(), 2);
        QVERIFY(window.imageView().isMarked(3, 2));
        QCOMPARE(window.differences().dialog()->list()->topLevelItemCount(), 2);
        QCOMPARE(m_state->image.bytes(), image);

        writeAll(path, image);
        m_dialogs->fileAnswers.append(FakeUserDialogs::chosen(path));
        window.controls().mnuFileCompare->trigger();
        QCOMPARE(window.statusPanels().text(1), QStringLiteral("ファイル比較: 一致しました"));
        QCOMPARE(window.imageView().markCount(), 0);

        window.controls().mnuFileCompare->trigger();
        QCOMPARE(window.statusPanels().text(1),
                 QStringLiteral("ファイル比較をキャンセルしました。"));
    }

    void loadsWaitWhileBusy()
    {
        const QString path = filePath(QStringLiteral("in.hex"));
        writeAll(path, ":0100000042BD\r\n");
        m_commands->setBusyCheck([] { return true; });
        QVERIFY(!m_commands->loadFile(path));
        m_commands->openRecentFile(path);
        QCOMPARE(m_state->image.at(0), std::uint8_t{0xFF});
        QVERIFY(m_panels->history.isEmpty());
        m_commands->setBusyCheck([] { return false; });
        QVERIFY(m_commands->loadFile(path));
        QCOMPARE(m_state->image.at(0), std::uint8_t{0x42});
    }

    // A file dropped on the window loads as if opened; other drags are turned away.
    void droppedFileLoads()
    {
        MainWindow window(services());
        const QString path = filePath(QStringLiteral("dropped.s19"));
        writeAll(path, "S104000042B9\r\n");

        QMimeData text;
        text.setText(QStringLiteral("hello"));
        QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton,
                                Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &refused);
        QVERIFY(!refused.isAccepted());

        QMimeData file;
        file.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &file, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &drop);
        QTRY_COMPARE(m_state->image.at(0), std::uint8_t{0x42});
        QCOMPARE(window.statusPanels().text(1), kLoaded + QStringLiteral("（Sレコード形式）"));
        QCOMPARE(window.windowTitle(), ProductInfo::titleText() + path);
    }

    // The real dialog shows one Qt filter per format and adds the chosen format's extension
    // to a name typed without one.
    void qtDialogFilters_data()
    {
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("Intel HEX") << 0 << "HEX";
        QTest::newRow("S-records") << 1 << "s19";
        QTest::newRow("binary") << 2 << "bin";
        QTest::newRow("all files") << 3 << "HEX";
    }
    void qtDialogFilters()
    {
        QFETCH(int, filterIndex);
        QFETCH(QString, suffix);
        const QStringList filters = QtUserDialogs::qtFilters(saveFileFilter());
        QCOMPARE(filters.size(), 4);
        QCOMPARE(filters.at(1),
                 QStringLiteral("Sレコードファイル (*.s19 *.s28 *.s37 *.srec *.mot)"));
        QCOMPARE(QtUserDialogs::defaultSuffixFor(filters.at(filterIndex), QStringLiteral("HEX")),
                 suffix);
    }

    void listingOpensInTheViewer_data()
    {
        QTest::addColumn<bool>("listingThere");
        QTest::addColumn<bool>("viewerStarts");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<QString>("said");
        QTest::newRow("shown") << true << true << true << QString();
        QTest::newRow("no viewer")
            << true << false << true << QStringLiteral("表示するプログラムを起動できませんでした");
        QTest::newRow("no listing")
            << false << true << false << QStringLiteral("ファイルがありません");
    }
    void listingOpensInTheViewer()
    {
        QFETCH(bool, listingThere);
        QFETCH(bool, viewerStarts);
        QFETCH(bool, opened);
        QFETCH(QString, said);
        const QString listing = m_environment->appFolder() + "temp.txt";
        if (listingThere) writeAll(listing, "0x00000\t0xFF\r\n");
        m_desktop->succeed = viewerStarts;
        m_panels->setText(1, QStringLiteral("as before"));

        m_commands->mnuOutPutTextFile_Click();
        QCOMPARE(m_desktop->openedFiles, opened ? QStringList{listing} : QStringList{});
        if (said.isEmpty()) {
            QVERIFY(m_dialogs->messages.isEmpty());
        } else {
            QCOMPARE(m_dialogs->messages.size(), 1);
            // The path, so that the user can open the listing by hand.
            QVERIFY(m_dialogs->messages.first().text.contains(said));
            QVERIFY(m_dialogs->messages.first().text.contains(QDir::toNativeSeparators(listing)));
        }
        QCOMPARE(m_panels->history, QStringList{QStringLiteral("as before")});
        QVERIFY(m_panels->busyChanges.isEmpty());
    }

    // The same commands, from the main window's buttons and menu.
    void mainWindowControls()
    {
        MainWindow window(services());
        MainWindowControls& controls = window.controls();
        const QString path = filePath(QStringLiteral("window.hex"));
        m_state->image.set(1, 0x5A);

        m_dialogs->fileAnswers.append(FakeUserDialogs::chosen(path));
        controls.Cmd_SaveAs->click();
        QVERIFY(readAll(path).startsWith(":10000000FF5AFF"));
        QCOMPARE(window.windowTitle(), ProductInfo::titleText() + path);
        QCOMPARE(window.statusPanels().text(1), kSaved);

        m_dialogs->fileAnswers.append(FakeUserDialogs::chosen(path));
        controls.mnuFileSaveAs->trigger();
        QCOMPARE(m_dialogs->fileDialogs.size(), 2);

        m_state->image.recreate(256);
        m_dialogs->fileAnswers.append(FakeUserDialogs::chosen(path));
        controls.Cmd_Open->click();
        QCOMPARE(m_state->image.at(1), std::uint8_t{0x5A});
        QCOMPARE(window.statusPanels().text(1), kLoaded);

        controls.mnuFileOpen->trigger();
        QCOMPARE(window.statusPanels().text(1), kNotOpened);

        writeAll(m_environment->appFolder() + "temp.txt", "0x00000\r\n");
        controls.mnuOutPutTextFile->trigger();
        QCOMPARE(m_desktop->openedFiles.size(), 1);
    }

private:
    AppServices services() { return AppServices{*m_state, *m_settings, *m_dialogs, *m_desktop}; }

    void selectDevice(int exponent)
    {
        SelectedDevice device;
        device.Family = BusFamily::I2c;
        device.SizeExponent = exponent;
        m_state->selectedDevice = device;
        m_state->image.recreate(device.memorySize());
        m_settings->save(QStringLiteral("Settings"), QStringLiteral("SAVE_DIR"), "unchanged");
        m_settings->save(QStringLiteral("Settings"), QStringLiteral("OPEN_DIR0"), "unchanged");
    }

    QString filePath(const QString& name) const { return m_files->filePath(name); }
    QString saveDir() const
    {
        return m_settings->get(QStringLiteral("Settings"), QStringLiteral("SAVE_DIR"), QString());
    }
    QString openDir() const
    {
        return m_settings->get(QStringLiteral("Settings"), QStringLiteral("OPEN_DIR0"), QString());
    }

    std::unique_ptr<TestEnvironment> m_environment;
    std::unique_ptr<QTemporaryDir> m_files;
    std::unique_ptr<ProgramState> m_state;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<FakeUserDialogs> m_dialogs;
    std::unique_ptr<FakeDesktopOpener> m_desktop;
    std::unique_ptr<RecordingPanels> m_panels;
    std::unique_ptr<ImageFileCommands> m_commands;
    QString m_caption;
    int m_showImageCalls = 0;
};

QTEST_MAIN(ImageFileCommandsTest)
#include "tst_image_file_commands.moc"