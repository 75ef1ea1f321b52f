#include "base/ProductInfo.h"
#include "support/FakeDesktopOpener.h"
#include "support/FakeUserDialogs.h"
#include "ui/HelpFile.h"
#include "ui/gui/HelpContents.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <optional>

namespace {
const QString kNoHelpText =
    QStringLiteral("ﾍﾙﾌﾟの目次を表示できません。 このﾌﾟﾛｼﾞｪｸﾄに関連付けられたﾍﾙﾌﾟが存在しません。");
const QString kCaption =
    QStringLiteral("Serial EEPROM Programmer Ver 6.2.13    vorle6.ini Ver 1.00");
const QString kShippedManual = QStringLiteral(VORLE_SOURCE_DIR "/src/ui/help");
const QString kEnglishManual = kShippedManual + QStringLiteral("/en");

QString pageText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList idsIn(const QString& text)
{
    static const QRegularExpression anchorId(QStringLiteral("id=\"([^\"]+)\""));
    QStringList ids;
    for (const auto& id : anchorId.globalMatch(text)) ids.append(id.captured(1));
    return ids;
}

// The text outside parentheses (nested ones included), or nothing when they do not pair up.
std::optional<QString> outsideParentheses(const QString& text)
{
    QString outside;
    int depth = 0;
    for (const QChar c : text) {
        if (c == u'(') ++depth;
        if (depth == 0) outside += c;
        if (c == u')' && --depth < 0) return std::nullopt;
    }
    if (depth != 0) return std::nullopt;
    return outside;
}
}  // namespace

class HelpContentsTest : public QObject {
    Q_OBJECT
private slots:
    void opensTheManualOrSaysWhy_data();
    void opensTheManualOrSaysWhy();
    void manualSitsWhereTheProgramLooks();
    void manualLinksResolve();
    void englishPageMatchesJapanese_data();
    void englishPageMatchesJapanese();
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
            // Each language's pages lead to pages of the same language.
            if (linked.endsWith(QStringLiteral(".html"))) {
                QVERIFY2(QFileInfo(linked).canonicalPath() == QFileInfo(page).canonicalPath(),
                         qPrintable(page + " -> " + target));
            }
            if (anchor.isEmpty()) continue;
            QVERIFY2(idsIn(pageText(linked)).contains(anchor), qPrintable(page + " -> " + target));
        }
    }
    QVERIFY(pages > 1);
}

void HelpContentsTest::englishPageMatchesJapanese_data()
{
    QTest::addColumn<QString>("name");
    const QStringList pages = QDir(kShippedManual).entryList({"*.html"}, QDir::Files);
    QVERIFY(pages.size() > 1);
    for (const QString& name : pages) QTest::newRow(qPrintable(name)) << name;
}

// Every Japanese page has its English counterpart with the same anchors, and the English pages
// hold Japanese only in parentheses that quote the Japanese interface.
void HelpContentsTest::englishPageMatchesJapanese()
{
    QFETCH(QString, name);
    const QString japanese = pageText(kShippedManual + "/" + name);
    QString english = pageText(kEnglishManual + "/" + name);
    QVERIFY2(!english.isEmpty(), qPrintable("no en/" + name));
    QVERIFY(english.contains(QStringLiteral("<html lang=\"en\">")));

    const QStringList englishIds = idsIn(english);
    for (const QString& id : idsIn(japanese)) {
        QVERIFY2(englishIds.contains(id), qPrintable(name + "#" + id));
    }

    // The language menu is named in both languages in either interface.
    english.remove(QStringLiteral("Language / 言語")).remove(QStringLiteral("日本語"));
    const std::optional<QString> outside = outsideParentheses(english);
    QVERIFY2(outside, "parentheses do not pair up");
    static const QRegularExpression japaneseCharacter(QStringLiteral(
        "[\\x{3000}-\\x{30FF}\\x{3400}-\\x{4DBF}\\x{4E00}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]+"));
    const QRegularExpressionMatch found = japaneseCharacter.match(*outside);
    QVERIFY2(!found.hasMatch(),
             qPrintable(outside->mid(qMax<qsizetype>(0, found.capturedStart() - 40), 80)));
}

QTEST_GUILESS_MAIN(HelpContentsTest)
#include "tst_help_contents.moc"
