#include "base/ProductInfo.h"
#include "support/FakeDesktopOpener.h"
#include "support/FakeUserDialogs.h"
#include "ui/HelpContents.h"
#include "ui/HelpFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {
const QString kNoHelpText =
    QStringLiteral("ﾍﾙﾌﾟの目次を表示できません。 このﾌﾟﾛｼﾞｪｸﾄに関連付けられたﾍﾙﾌﾟが存在しません。");
const QString kCaption =
    QStringLiteral("Serial EEPROM Programmer Ver 6.2.13    vorle6.ini Ver 1.00");
const QString kShippedManual = QStringLiteral(VORLE_SOURCE_DIR "/src/ui/help");
}  // namespace

class HelpContentsTest : public QObject {
    Q_OBJECT
private slots:
    void opensTheManualOrSaysWhy_data();
    void opensTheManualOrSaysWhy();
    void manualSitsWhereTheProgramLooks();
    void manualLinksResolve();
};

void HelpContentsTest::opensTheManualOrSaysWhy_data()
{
    QTest::addColumn<QString>("manual");  // "" none configured, "missing", "present", "folder"
    QTest::addColumn<bool>("viewerStarts");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("messageText");  // empty: no message
    QTest::addColumn<QString>("messageTitle");
    QTest::addColumn<int>("messageIcon");

    const int information = int(MessageIcon::Information);
    QTest::newRow("present") << "present" << true << true << QString() << QString() << 0;
    QTest::newRow("none configured")
        << "" << true << false << kNoHelpText << kCaption << information;
    QTest::newRow("manual missing")
        << "missing" << true << false << kNoHelpText << kCaption << information;
    QTest::newRow("a folder is no manual")
        << "folder" << true << false << kNoHelpText << kCaption << information;
    QTest::newRow("viewer cannot start")
        << "present" << false << true
        << QStringLiteral("ヘルプを表示するプログラムを起動できませんでした。")
        << ProductInfo::kApplicationTitle << int(MessageIcon::None);
}

void HelpContentsTest::opensTheManualOrSaysWhy()
{
    QFETCH(QString, manual);
    QFETCH(bool, viewerStarts);
    QFETCH(bool, opened);
    QFETCH(QString, messageText);
    QFETCH(QString, messageTitle);
    QFETCH(int, messageIcon);

    QTemporaryDir folder;
    QString path;
    if (manual == "present") {
        path = folder.filePath("index.html");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<html></html>");
    } else if (manual == "missing") {
        path = folder.filePath("index.html");
    } else if (manual == "folder") {
        path = folder.path();
    }

    FakeUserDialogs dialogs;
    FakeDesktopOpener desktop;
    desktop.succeed = viewerStarts;
    showHelpContents(path, kCaption, dialogs, desktop);

    QCOMPARE(desktop.openedFiles, opened ? QStringList{path} : QStringList{});
    if (messageText.isEmpty()) {
        QVERIFY(dialogs.messages.isEmpty());
        return;
    }
    QCOMPARE(dialogs.messages.size(), 1);
    const MessageBoxRequest& message = dialogs.messages.constFirst();
    QVERIFY2(message.text.startsWith(messageText), qPrintable(message.text));
    QCOMPARE(message.title, messageTitle);
    QCOMPARE(int(message.icon), messageIcon);
    QCOMPARE(message.buttons, MessageButtons::Ok);
}

void HelpContentsTest::manualSitsWhereTheProgramLooks()
{
    const QString relative = HelpFile::relativePath();
    QVERIFY(!relative.isEmpty());
    QCOMPARE(HelpFile::pathIn("/opt/vorle6/"), "/opt/vorle6/" + relative);
    // The build copies src/ui/help to the program folder under the first part of the path.
    const QString inSource = relative.section('/', 1);
    QVERIFY2(QFile::exists(kShippedManual + "/" + inSource), qPrintable(inSource));
}

// Every page and picture that a page of the manual links to is shipped with it.
void HelpContentsTest::manualLinksResolve()
{
    static const QRegularExpression reference(QStringLiteral(R"re((?:href|src)="([^"]+)")re"));
    static const QRegularExpression anchorId(QStringLiteral(R"re(id="([^"]+)")re"));
    int pages = 0;
    QDirIterator it(kShippedManual, {"*.html"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString page = it.next();
        QFile file(page);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY2(text.contains("charset=\"utf-8\"") || text.contains("charset=utf-8"),
                 qPrintable(page));
        ++pages;
        for (const auto& match : reference.globalMatch(text)) {
            const QString target = match.captured(1);
            if (QUrl(target).scheme().size() > 0) continue;  // an outside address
            const QString fileName = target.section('#', 0, 0);
            const QString anchor = target.section('#', 1);
            const QString linked =
                fileName.isEmpty() ? page : QFileInfo(page).dir().filePath(fileName);
            QVERIFY2(QFile::exists(linked), qPrintable(page + " -> " + target));
            if (anchor.isEmpty()) continue;
            QFile linkedFile(linked);
            QVERIFY(linkedFile.open(QIODevice::ReadOnly));
            QStringList ids;
            for (const auto& id : anchorId.globalMatch(QString::fromUtf8(linkedFile.readAll()))) {
                ids.append(id.captured(1));
            }
            QVERIFY2(ids.contains(anchor), qPrintable(page + " -> " + target));
        }
    }
    QVERIFY(pages > 1);
}

QTEST_GUILESS_MAIN(HelpContentsTest)
#include "tst_help_contents.moc"
