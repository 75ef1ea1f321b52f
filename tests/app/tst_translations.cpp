// The English translation against the sources: every text that the window program translates
// has a finished English translation in the committed .ts, the .ts holds nothing else, and no
// Japanese text in the sources bypasses the translation. lupdate gathers the texts the way the
// vorle6-lupdate target does.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <algorithm>

namespace {

struct Message {
    QString context;
    QString source;
    QString translation;
    QString type;  // "unfinished", "vanished", "obsolete"; empty when finished
};

QString messageName(const Message& message)
{
    return message.context + QStringLiteral(": ") + message.source;
}

// The text of a <source> or <translation>; <byte value="xd"/> stands for a carriage return.
QString elementText(QXmlStreamReader& reader)
{
    QString text;
    const QString end = reader.name().toString();
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isCharacters()) text += reader.text();
        if (reader.isStartElement() && reader.name() == u"byte") {
            const QString value = reader.attributes().value(QLatin1String("value")).toString();
            text += QChar(value.mid(1).toUShort(nullptr, 16));
        }
        if (reader.isEndElement() && reader.name() == end) break;
    }
    return text;
}

QList<Message> readTs(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(path));
    QXmlStreamReader reader(&file);
    QList<Message> messages;
    QString context;
    Message message;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement()) continue;
        if (reader.name() == u"name") {
            context = reader.readElementText();
        } else if (reader.name() == u"message") {
            message = Message{context, {}, {}, {}};
        } else if (reader.name() == u"source") {
            message.source = elementText(reader);
        } else if (reader.name() == u"translation") {
            message.type = reader.attributes().value(QLatin1String("type")).toString();
            message.translation = elementText(reader);
            messages.append(message);
        }
    }
    if (reader.hasError()) qFatal("%s: %s", qPrintable(path), qPrintable(reader.errorString()));
    return messages;
}

// Hiragana, katakana (full and half width), kanji, Japanese punctuation and full-width forms.
bool isJapanese(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) ||
           (u >= 0xFF00 && u <= 0xFFEF);
}

bool hasJapanese(const QString& text) { return std::any_of(text.begin(), text.end(), isJapanese); }

QStringList placeMarkers(const QString& text)
{
    static const QRegularExpression marker(QStringLiteral("%\\d+"));
    QStringList markers;
    for (const auto& match : marker.globalMatch(text)) markers.append(match.captured());
    markers.sort();
    return markers;
}

// The number of menu accelerators ("&F"; "&&" is a literal ampersand).
int accelerators(const QString& text)
{
    return int(QString(text).remove(QStringLiteral("&&")).count(QLatin1Char('&')));
}

// The line breaks and blanks that the code joins a fragment by, at its start and its end.
QString leadingBreaks(const QString& text)
{
    static const QRegularExpression breaks(QStringLiteral("^[\\r\\n]*"));
    return breaks.match(text).captured();
}
QString trailingBreaks(const QString& text)
{
    static const QRegularExpression breaks(QStringLiteral("[\\r\\n]*$"));
    return breaks.match(text).captured();
}

// The string literals of a C++ source, adjacent ones joined and escapes resolved. Comments,
// character literals and raw strings are passed over.
QStringList stringLiterals(const QString& code)
{
    QStringList literals;
    QString current;
    bool inLiteral = false;  // `current` holds a literal that a following one may continue
    qsizetype i = 0;
    const auto finish = [&] {
        if (inLiteral) literals.append(current);
        current.clear();
        inLiteral = false;
    };
    while (i < code.size()) {
        const QChar c = code.at(i);
        if (code.mid(i, 2) == u"//") {
            i = code.indexOf(QLatin1Char('\n'), i);
            if (i < 0) break;
            continue;
        }
        if (code.mid(i, 2) == u"/*") {
            i = code.indexOf(QStringLiteral("*/"), i + 2);
            if (i < 0) break;
            i += 2;
            continue;
        }
        if (c == u'R' && code.mid(i + 1, 1) == u"\"") {
            const qsizetype open = code.indexOf(QLatin1Char('('), i);
            const QString delimiter = QLatin1Char(')') + code.mid(i + 2, open - i - 2) + u'"';
            const qsizetype close = code.indexOf(delimiter, open);
            finish();
            literals.append(code.mid(open + 1, close - open - 1));
            i = close + delimiter.size();
            continue;
        }
        if (c == u'\'') {
            finish();
            for (++i; i < code.size() && code.at(i) != u'\''; ++i) {
                if (code.at(i) == u'\\') ++i;
            }
            ++i;
            continue;
        }
        if (c == u'"') {
            inLiteral = true;
            for (++i; i < code.size() && code.at(i) != u'"'; ++i) {
                if (code.at(i) != u'\\') {
                    current += code.at(i);
                    continue;
                }
                const QChar escaped = code.at(++i);
                current += escaped == u'n'   ? QChar(u'\n')
                           : escaped == u'r' ? QChar(u'\r')
                           : escaped == u't' ? QChar(u'\t')
                                             : escaped;
            }
            ++i;
            continue;
        }
        if (!c.isSpace()) finish();
        ++i;
    }
    finish();
    return literals;
}

}  // namespace

class TranslationsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void tsIsInStepWithTheSources();
    void everyTranslationIsFinished();
    void translationsKeepWhatTheCodeRelies();
    void noJapaneseTextBypassesTheTranslation();

private:
    QTemporaryDir m_work;
    QList<Message> m_extracted;  // what lupdate finds in the sources today
    QList<Message> m_committed;  // the .ts in the repository
};

void TranslationsTest::initTestCase()
{
    const QString gathered = m_work.filePath(QStringLiteral("gathered.ts"));
    QStringList arguments = QStringLiteral(VORLE_TRANSLATED_FOLDERS).split(QLatin1Char('|'));
    arguments += QStringLiteral(VORLE_LUPDATE_OPTIONS).split(QLatin1Char('|'));
    arguments << QStringLiteral("-ts") << gathered;
    QProcess lupdate;
    lupdate.start(QStringLiteral(VORLE_LUPDATE), arguments);
    QVERIFY2(lupdate.waitForFinished(60000), "lupdate did not finish");
    QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0,
             lupdate.readAllStandardError().constData());
    m_extracted = readTs(gathered);
    m_committed = readTs(QStringLiteral(VORLE_TS_FILE));
    QVERIFY(m_extracted.size() > 200);
}

void TranslationsTest::tsIsInStepWithTheSources()
{
    QSet<QString> committed;
    for (const Message& message : m_committed) committed.insert(messageName(message));
    QSet<QString> extracted;
    for (const Message& message : m_extracted) extracted.insert(messageName(message));
    const QStringList missing = (extracted - committed).values();
    const QStringList stale = (committed - extracted).values();
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("not in the .ts (run the vorle6-lupdate "
                                                          "target and translate):\n") +
                                           missing.join(QLatin1Char('\n'))));
    QVERIFY2(stale.isEmpty(), qPrintable(QStringLiteral("no longer in the sources:\n") +
                                         stale.join(QLatin1Char('\n'))));
    QCOMPARE(committed.size(), m_committed.size());  // no text twice in one context
}

void TranslationsTest::everyTranslationIsFinished()
{
    for (const Message& message : m_committed) {
        QVERIFY2(message.type.isEmpty(), qPrintable(message.type + ": " + messageName(message)));
        QVERIFY2(!message.translation.isEmpty(), qPrintable(messageName(message)));
        QVERIFY2(!hasJapanese(message.translation),
                 qPrintable(messageName(message) + " -> " + message.translation));
    }
}

// Place markers, accelerators, the line breaks fragments are joined by, and the file dialogs'
// patterns come through the translation unchanged.
void TranslationsTest::translationsKeepWhatTheCodeRelies()
{
    for (const Message& message : m_committed) {
        const QString name = messageName(message) + " -> " + message.translation;
        QVERIFY2(placeMarkers(message.translation) == placeMarkers(message.source),
                 qPrintable(name));
        QVERIFY2(accelerators(message.translation) == accelerators(message.source),
                 qPrintable(name));
        QVERIFY2(leadingBreaks(message.translation) == leadingBreaks(message.source),
                 qPrintable(name));
        QVERIFY2(trailingBreaks(message.translation) == trailingBreaks(message.source),
                 qPrintable(name));
        if (message.source.count(QLatin1Char('|')) < 2) continue;
        const QStringList source = message.source.split(QLatin1Char('|'));
        const QStringList translated = message.translation.split(QLatin1Char('|'));
        QCOMPARE(translated.size(), source.size());
        for (qsizetype i = 1; i < source.size(); i += 2) QCOMPARE(translated.at(i), source.at(i));
    }
}

// A Japanese string literal in the window program's sources is a text that lupdate finds, so
// that English replaces it; only names and the language menu's own words stay as written.
void TranslationsTest::noJapaneseTextBypassesTheTranslation()
{
    const QSet<QString> untranslated{
        QStringLiteral("ＭＳ ゴシック"),    // a font family's name
        QStringLiteral("Language / 言語"),  // the language menu reads the same in every language
        QStringLiteral("日本語"),
    };
    QSet<QString> translated;
    for (const Message& message : m_extracted) translated.insert(message.source);
    int files = 0;
    for (const QString& folder : QStringLiteral(VORLE_TRANSLATED_FOLDERS).split(u'|')) {
        QDirIterator it(folder, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            ++files;
            for (const QString& literal : stringLiterals(QString::fromUtf8(file.readAll()))) {
                if (!hasJapanese(literal) || untranslated.contains(literal)) continue;
                QVERIFY2(translated.contains(literal), qPrintable(path + ": " + literal));
            }
        }
    }
    QVERIFY(files > 100);
}

QTEST_GUILESS_MAIN(TranslationsTest)
#include "tst_translations.moc"
