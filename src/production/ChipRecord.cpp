#include "production/ChipRecord.h"

#include "base/HexText.h"
#include "base/WordTable.h"

#include <QJsonDocument>

namespace {

const WordTable<ChipResult, 6> kResultNames{{
    {ChipResult::Pending, "pending"},
    {ChipResult::Verified, "verified"},
    {ChipResult::Written, "written"},
    {ChipResult::Mismatch, "mismatch"},
    {ChipResult::Failed, "failed"},
    {ChipResult::NotWritten, "not-written"},
}};

const WordTable<NumberFate, 4> kFateNames{{
    {NumberFate::Taken, "taken"},
    {NumberFate::Used, "used"},
    {NumberFate::Burnt, "burnt"},
    {NumberFate::Returned, "returned"},
}};

QString csvCell(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'))) {
        return text;
    }
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

double seconds(std::chrono::milliseconds duration)
{
    return std::chrono::duration<double>(duration).count();
}

}  // namespace

QString chipResultName(ChipResult result) { return wordOf(kResultNames, result); }

std::optional<ChipResult> chipResultNamed(const QString& name)
{
    return valueOfWord(kResultNames, name);
}

QString numberFateName(NumberFate fate) { return wordOf(kFateNames, fate); }

std::optional<NumberFate> numberFateNamed(const QString& name)
{
    return valueOfWord(kFateNames, name);
}

QString recordTimeText(const QDateTime& time)
{
    return time.isValid() ? time.toUTC().toString(Qt::ISODateWithMs) : QString();
}

QJsonObject chipRecordJson(const ChipRecord& record)
{
    QJsonObject serials;
    for (const SerialValue& value : record.serials) serials.insert(value.field, value.text);
    QJsonValue mismatch;
    if (record.mismatch) {
        mismatch = QJsonObject{{"address", record.mismatch->address},
                               {"expected", record.mismatch->expected},
                               {"actual", record.mismatch->actual}};
    }
    const auto optionalText = [](const QString& text) {
        return text.isEmpty() ? QJsonValue() : QJsonValue(text);
    };
    return QJsonObject{
        {"id", record.id},
        {"time", recordTimeText(record.time)},
        {"finished", optionalText(recordTimeText(record.finished))},
        {"station", record.station},
        {"port", record.port},
        {"board", optionalText(record.board)},
        {"part", record.part},
        {"job", record.job},
        {"jobSha256", record.jobSha256},
        {"imageSha256", record.imageSha256},
        {"serials", serials},
        {"result", chipResultName(record.result)},
        {"numbers", numberFateName(record.numbers)},
        {"firstMismatch", mismatch},
        {"seconds", seconds(record.duration)},
        {"writtenTo", record.writtenTo ? QJsonValue(*record.writtenTo) : QJsonValue()}};
}

QString chipRecordCsvHeader()
{
    return QStringLiteral(
        "id,time,finished,station,port,board,part,job,jobSha256,imageSha256,serials,result,"
        "numbers,mismatchAddress,mismatchExpected,mismatchActual,seconds,writtenTo");
}

QString chipRecordCsvLine(const ChipRecord& record)
{
    QStringList serials;
    for (const SerialValue& value : record.serials) {
        serials.append(value.field + QLatin1Char('=') + value.text);
    }
    QStringList mismatch{QString(), QString(), QString()};
    if (record.mismatch) {
        mismatch = {
            QStringLiteral("0x") + hexText(static_cast<quint32>(record.mismatch->address), 5),
            QStringLiteral("0x") + hexText(static_cast<quint32>(record.mismatch->expected), 2),
            QStringLiteral("0x") + hexText(static_cast<quint32>(record.mismatch->actual), 2)};
    }
    QStringList cells{QString::number(record.id),
                      recordTimeText(record.time),
                      recordTimeText(record.finished),
                      record.station,
                      record.port,
                      record.board,
                      record.part,
                      record.job,
                      record.jobSha256,
                      record.imageSha256,
                      serials.join(QLatin1Char(';')),
                      chipResultName(record.result),
                      numberFateName(record.numbers)};
    cells << mismatch << QString::number(seconds(record.duration), 'f', 3)
          << (record.writtenTo
                  ? QStringLiteral("0x") + hexText(static_cast<quint32>(*record.writtenTo), 5)
                  : QString());
    for (QString& cell : cells) cell = csvCell(cell);
    return cells.join(QLatin1Char(','));
}
