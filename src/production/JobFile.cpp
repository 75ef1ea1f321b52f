#include "production/JobFile.h"

#include "base/RegularFile.h"
#include "files/ImageFileLoad.h"
#include "production/CsvColumn.h"
#include "production/Sha256.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <cmath>

namespace {

const QString kVersionKey = QStringLiteral("vorle6Job");
// Beyond 2^53 a JSON number (a double) no longer holds every whole number.
constexpr double kLargestExactNumber = 9007199254740992.0;
constexpr int kMaxPrefixBytes = SerialField::kMacBytes - 1;

QString valueText(const QJsonValue& value)
{
    if (value.isString()) return value.toString();
    if (value.isDouble()) return QString::number(value.toDouble(), 'g', 17);
    if (value.isBool()) return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (value.isNull()) return QStringLiteral("null");
    return QString::fromUtf8(value.isArray()
                                 ? QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact)
                                 : QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
}

QJsonValue numberValue(qint64 number)
{
    if (static_cast<double>(number) <= kLargestExactNumber) return QJsonValue(number);
    return QJsonValue(QString::number(number));
}

// "02:00:5E", "02-00-5E" or "02005E": 1 to 5 bytes.
std::optional<QByteArray> parseMacPrefix(QString text)
{
    text.remove(QLatin1Char(':')).remove(QLatin1Char('-'));
    if (text.isEmpty() || text.size() % 2 != 0 || text.size() > 2 * kMaxPrefixBytes) {
        return std::nullopt;
    }
    for (const QChar c : text) {
        if (!QStringLiteral("0123456789abcdefABCDEF").contains(c)) return std::nullopt;
    }
    return QByteArray::fromHex(text.toLatin1());
}

// Reads one job object, keeping the first problem met; once there is one, the rest reads
// nothing more.
class JobReader {
public:
    JobReader(const QString& folder, const JobPartLookup& parts) : m_folder(folder), m_parts(parts)
    {
    }

    [[nodiscard]] const JobProblem& problem() const { return m_problem; }

    void read(const QJsonObject& object, ProductionJob& job)
    {
        if (!readVersion(object) || !onlyKeys(object, {},
                                              {kVersionKey, "name", "part", "image", "imageSha256",
                                               "range", "verify", "onFailure", "serials"})) {
            return;
        }
        const auto name = text(object, "name", {});
        if (!name) return;
        job.name = *name;
        if (!readPart(object, job) || !readRange(object, job)) return;
        if (object.contains("verify")) {
            if (!object.value("verify").isBool()) {
                return fail(JobProblem::Kind::WrongType, "verify", object.value("verify"));
            }
            job.verify = object.value("verify").toBool();
        }
        if (object.contains("onFailure")) {
            const auto word = text(object, "onFailure", {});
            if (!word) return;
            const auto policy = failurePolicyNamed(*word);
            if (!policy) return fail(JobProblem::Kind::BadValue, "onFailure", *word);
            job.onFailure = *policy;
        }
        if (!readImage(object, job)) return;
        readSerials(object, job);
    }

private:
    void fail(JobProblem::Kind kind, const QString& field, const QString& value = {})
    {
        if (!m_problem.isProblem()) m_problem = JobProblem{kind, field, value};
    }
    void fail(JobProblem::Kind kind, const QString& field, const QJsonValue& value)
    {
        fail(kind, field, valueText(value));
    }

    bool readVersion(const QJsonObject& object)
    {
        const QJsonValue version = object.value(kVersionKey);
        if (!version.isDouble()) {
            fail(JobProblem::Kind::NotAJob, kVersionKey, version);
            return false;
        }
        if (version.toDouble() == kJobFileVersion) return true;
        fail(version.toDouble() > kJobFileVersion ? JobProblem::Kind::NewerJob
                                                  : JobProblem::Kind::NotAJob,
             kVersionKey, version);
        return false;
    }

    bool onlyKeys(const QJsonObject& object, const QString& path, const QStringList& allowed)
    {
        for (const QString& key : object.keys()) {
            if (!allowed.contains(key)) {
                fail(JobProblem::Kind::UnknownField, path + key, object.value(key));
                return false;
            }
        }
        return true;
    }

    std::optional<QString> text(const QJsonObject& object, const QString& key, const QString& path)
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined()) {
            fail(JobProblem::Kind::MissingField, path + key);
        } else if (!value.isString()) {
            fail(JobProblem::Kind::WrongType, path + key, value);
        } else if (value.toString().trimmed().isEmpty()) {
            fail(JobProblem::Kind::BadValue, path + key, value);
        } else {
            return value.toString();
        }
        return std::nullopt;
    }

    std::optional<qint64> number(const QJsonObject& object, const QString& key, const QString& path)
    {
        const QJsonValue value = object.value(key);
        if (value.isUndefined()) {
            fail(JobProblem::Kind::MissingField, path + key);
            return std::nullopt;
        }
        if (value.isString()) {
            const auto parsed = parseJobNumber(value.toString());
            if (!parsed) fail(JobProblem::Kind::BadValue, path + key, value);
            return parsed;
        }
        if (!value.isDouble()) {
            fail(JobProblem::Kind::WrongType, path + key, value);
            return std::nullopt;
        }
        const double number = value.toDouble();
        if (number < 0 || number > kLargestExactNumber || std::floor(number) != number) {
            fail(JobProblem::Kind::BadValue, path + key, value);
            return std::nullopt;
        }
        return static_cast<qint64>(number);
    }

    bool readPart(const QJsonObject& object, ProductionJob& job)
    {
        const auto name = text(object, "part", {});
        if (!name) return false;
        const std::optional<JobPart> part = m_parts ? m_parts(*name) : std::nullopt;
        if (!part) {
            fail(JobProblem::Kind::UnknownPart, "part", *name);
            return false;
        }
        job.partName = part->name;
        job.partSize = part->size;
        m_blockSize = std::max(1, part->blockSize);
        return true;
    }

    bool readRange(const QJsonObject& object, ProductionJob& job)
    {
        job.offset = 0;
        job.length = job.partSize;
        if (!object.contains("range")) return true;
        const QJsonValue value = object.value("range");
        if (!value.isObject()) {
            fail(JobProblem::Kind::WrongType, "range", value);
            return false;
        }
        const QJsonObject range = value.toObject();
        if (!onlyKeys(range, "range.", {"offset", "length"})) return false;
        if (range.contains("offset")) {
            const auto offset = number(range, "offset", "range.");
            if (!offset) return false;
            job.offset = *offset;
        }
        job.length = job.partSize - job.offset;
        if (range.contains("length")) {
            const auto length = number(range, "length", "range.");
            if (!length) return false;
            job.length = *length;
        }
        if (job.offset >= job.partSize) {
            fail(JobProblem::Kind::RangeOutsidePart, "range.offset", QString::number(job.offset));
        } else if (job.length < 1) {
            fail(JobProblem::Kind::BadValue, "range.length", QString::number(job.length));
        } else if (job.length > job.partSize - job.offset) {
            fail(JobProblem::Kind::RangeOutsidePart, "range.length", QString::number(job.length));
        } else if (job.offset % m_blockSize != 0) {
            fail(JobProblem::Kind::RangeNotBlocks, "range.offset", QString::number(job.offset));
        } else if (job.length % m_blockSize != 0) {
            fail(JobProblem::Kind::RangeNotBlocks, "range.length", QString::number(job.length));
        }
        return !m_problem.isProblem();
    }

    bool readImage(const QJsonObject& object, ProductionJob& job)
    {
        const auto path = text(object, "image", {});
        if (!path) return false;
        const auto expected = text(object, "imageSha256", {});
        if (!expected) return false;
        const bool digest =
            expected->size() == 64 &&
            QByteArray::fromHex(expected->toLatin1()).toHex() == expected->toLower().toLatin1();
        if (!digest) {
            fail(JobProblem::Kind::BadValue, "imageSha256", *expected);
            return false;
        }
        job.imagePath = QDir(m_folder).absoluteFilePath(*path);
        QFile file;
        QString error;
        switch (openRegularFile(file, job.imagePath, error)) {
            case RegularFileOpening::Opened:
                break;
            case RegularFileOpening::NotRegular:
                fail(JobProblem::Kind::ImageUnreadable, "image", *path);
                return false;
            case RegularFileOpening::Failed:
                fail(JobProblem::Kind::ImageUnreadable, "image", error);
                return false;
        }
        QByteArray bytes = file.readAll();
        job.imageSha256 = sha256Text(bytes);
        if (job.imageSha256 != expected->toLower()) {
            fail(JobProblem::Kind::ImageChanged, "imageSha256", job.imageSha256);
            return false;
        }
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        const ImageFileLoad load = loadImage(buffer, formatForPath(job.imagePath), job.partSize);
        if (load.result == ImageFileLoad::Result::NoData) {
            fail(JobProblem::Kind::ImageEmpty, "image", *path);
        } else if (!load.loaded()) {
            fail(JobProblem::Kind::ImageUnreadable, "image", load.error);
        } else if (load.summary.badRecords > 0) {
            fail(JobProblem::Kind::ImageDamaged, "image", QString::number(load.summary.badRecords));
        } else if (load.summary.bytesBeyond > 0) {
            fail(JobProblem::Kind::ImageBeyondPart, "image",
                 QString::number(load.summary.lowestAddressBeyond));
        }
        job.image = load.image.bytes();
        return !m_problem.isProblem();
    }

    void readSerials(const QJsonObject& object, ProductionJob& job)
    {
        const QJsonValue value = object.value("serials");
        if (value.isUndefined()) return fail(JobProblem::Kind::MissingField, "serials");
        if (!value.isArray()) return fail(JobProblem::Kind::WrongType, "serials", value);
        const QJsonArray serials = value.toArray();
        if (serials.isEmpty()) return fail(JobProblem::Kind::BadValue, "serials", value);
        for (qsizetype i = 0; i < serials.size() && !m_problem.isProblem(); ++i) {
            const QString path = QStringLiteral("serials[%1]").arg(i);
            if (!serials.at(i).isObject()) {
                return fail(JobProblem::Kind::WrongType, path, serials.at(i));
            }
            SerialField field;
            if (readField(serials.at(i).toObject(), path + QLatin1Char('.'), job, field)) {
                job.serials.append(field);
            }
        }
    }

    bool readField(const QJsonObject& object, const QString& path, const ProductionJob& job,
                   SerialField& field)
    {
        const auto formatWord = text(object, "format", path);
        if (!formatWord) return false;
        const auto format = serialFormatNamed(*formatWord);
        if (!format) {
            fail(JobProblem::Kind::UnknownFormat, path + "format", *formatWord);
            return false;
        }
        field.format = *format;
        QStringList keys{"name", "series", "address", "length", "format"};
        if (field.fromCsv()) {
            keys << "file"
                 << "column";
        } else {
            keys << "start"
                 << "step"
                 << "last";
            if (field.format == SerialFormat::Mac) keys << "prefix";
        }
        if (!onlyKeys(object, path, keys)) return false;

        const auto name = text(object, "name", path);
        if (!name) return false;
        for (const SerialField& other : job.serials) {
            if (other.name == *name) {
                fail(JobProblem::Kind::DuplicateName, path + "name", *name);
                return false;
            }
        }
        field.name = *name;
        field.series = job.name + QLatin1Char('.') + field.name;
        if (object.contains("series")) {
            const auto series = text(object, "series", path);
            if (!series) return false;
            field.series = *series;
        }
        const std::optional<qint64> address = number(object, "address", path);
        if (!address) return false;
        const std::optional<qint64> length = number(object, "length", path);
        if (!length) return false;
        if (*length < 1) {
            fail(JobProblem::Kind::BadValue, path + "length", QString::number(*length));
            return false;
        }
        if (*address < job.offset || *length > job.offset + job.length - *address) {
            fail(JobProblem::Kind::FieldOutsideRange, path + "address", QString::number(*address));
            return false;
        }
        field.address = *address;
        field.length = static_cast<int>(*length);
        for (const SerialField& other : job.serials) {
            if (field.address < other.address + other.length &&
                other.address < field.address + field.length) {
                fail(JobProblem::Kind::FieldsOverlap, path + "address", other.name);
                return false;
            }
        }
        return field.fromCsv() ? readCsv(object, path, field) : readNumbers(object, path, field);
    }

    bool readNumbers(const QJsonObject& object, const QString& path, SerialField& field)
    {
        if (field.format == SerialFormat::Mac) {
            const auto prefixText = text(object, "prefix", path);
            if (!prefixText) return false;
            const auto prefix = parseMacPrefix(*prefixText);
            if (!prefix) {
                fail(JobProblem::Kind::BadValue, path + "prefix", *prefixText);
                return false;
            }
            field.macPrefix = *prefix;
        }
        const qint64 largest = field.largestValue();
        if (largest < 0) {
            fail(JobProblem::Kind::LengthNotAllowed, path + "length",
                 QString::number(field.length));
            return false;
        }
        const auto start = number(object, "start", path);
        if (!start) return false;
        field.start = *start;
        if (object.contains("step")) {
            const auto step = number(object, "step", path);
            if (!step) return false;
            if (*step < 1) {
                fail(JobProblem::Kind::BadValue, path + "step", QString::number(*step));
                return false;
            }
            field.step = *step;
        }
        field.last = largest;
        if (object.contains("last")) {
            const auto last = number(object, "last", path);
            if (!last) return false;
            field.last = *last;
        }
        if (field.start > largest) {
            fail(JobProblem::Kind::ValueTooLong, path + "start", QString::number(field.start));
        } else if (field.last > largest) {
            fail(JobProblem::Kind::ValueTooLong, path + "last", QString::number(field.last));
        } else if (field.start > field.last) {
            fail(JobProblem::Kind::StartAfterLast, path + "start", QString::number(field.start));
        }
        return !m_problem.isProblem();
    }

    bool readCsv(const QJsonObject& object, const QString& path, SerialField& field)
    {
        const auto file = text(object, "file", path);
        if (!file) return false;
        field.csvPath = *file;
        field.csvColumn = QStringLiteral("1");
        if (object.contains("column")) {
            const QJsonValue column = object.value("column");
            if (column.isDouble() && column.toDouble() >= 1) {
                field.csvColumn = QString::number(column.toInt());
            } else if (const auto name = text(object, "column", path)) {
                field.csvColumn = *name;
            } else {
                return false;
            }
        }
        const CsvColumn read =
            readCsvColumn(QDir(m_folder).absoluteFilePath(field.csvPath), field.csvColumn);
        switch (read.result) {
            case CsvColumn::Result::Read:
                break;
            case CsvColumn::Result::Unreadable:
                fail(JobProblem::Kind::CsvUnreadable, path + "file", read.error);
                return false;
            case CsvColumn::Result::NotRegularFile:
                fail(JobProblem::Kind::CsvUnreadable, path + "file", field.csvPath);
                return false;
            case CsvColumn::Result::NoColumn:
                fail(JobProblem::Kind::CsvNoColumn, path + "column", field.csvColumn);
                return false;
        }
        if (read.values.isEmpty()) {
            fail(JobProblem::Kind::CsvNoValues, path + "file", field.csvPath);
            return false;
        }
        QSet<QString> seen;
        for (qsizetype i = 0; i < read.values.size(); ++i) {
            const QString& value = read.values.at(i);
            if (value.isEmpty()) {
                fail(JobProblem::Kind::CsvEmptyValue, path + "file",
                     QString::number(read.lineNumbers.at(i)));
            } else if (seen.contains(value)) {
                fail(JobProblem::Kind::CsvDuplicateValue, path + "file", value);
            } else if (value.toUtf8().size() > field.length) {
                fail(JobProblem::Kind::ValueTooLong, path + "file", value);
            }
            if (m_problem.isProblem()) return false;
            seen.insert(value);
        }
        field.csvValues = read.values;
        field.start = 0;
        field.last = field.largestValue();
        return true;
    }

    QString m_folder;
    const JobPartLookup& m_parts;
    int m_blockSize = 1;
    JobProblem m_problem;
};

}  // namespace

std::optional<qint64> parseJobNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    qint64 value = 0;
    if (trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        value = trimmed.size() > 2 ? trimmed.mid(2).toLongLong(&ok, 16) : 0;
    } else {
        value = trimmed.toLongLong(&ok, 10);
    }
    const bool signedText =
        trimmed.startsWith(QLatin1Char('+')) || trimmed.startsWith(QLatin1Char('-'));
    if (!ok || value < 0 || signedText) return std::nullopt;
    return value;
}

JobRead readJobText(const QByteArray& text, const QString& path, const JobPartLookup& parts)
{
    JobRead read;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError) {
        read.problem = {JobProblem::Kind::NotJson, {}, error.errorString()};
        return read;
    }
    if (!document.isObject()) {
        read.problem = {JobProblem::Kind::NotJson, {}, {}};
        return read;
    }
    const QFileInfo info(path);
    ProductionJob job;
    job.path = info.absoluteFilePath();
    job.sha256 = sha256Text(text);
    JobReader reader(info.absolutePath(), parts);
    reader.read(document.object(), job);
    if (reader.problem().isProblem()) {
        read.problem = reader.problem();
    } else {
        read.job = job;
    }
    return read;
}

JobRead readJobFile(const QString& path, const JobPartLookup& parts)
{
    QFile file;
    QString error;
    switch (openRegularFile(file, path, error)) {
        case RegularFileOpening::Opened:
            return readJobText(file.readAll(), path, parts);
        case RegularFileOpening::NotRegular:
            return {std::nullopt, {JobProblem::Kind::JobUnreadable, {}, path}};
        case RegularFileOpening::Failed:
            break;
    }
    return {std::nullopt, {JobProblem::Kind::JobUnreadable, {}, error}};
}

QByteArray jobFileText(const ProductionJob& job)
{
    QJsonObject object{{kVersionKey, kJobFileVersion},
                       {"name", job.name},
                       {"part", job.partName},
                       {"image", job.imagePath},
                       {"imageSha256", job.imageSha256},
                       {"verify", job.verify},
                       {"onFailure", failurePolicyName(job.onFailure)}};
    if (job.length > 0 && !job.wholePart()) {
        object.insert("range", QJsonObject{{"offset", numberValue(job.offset)},
                                           {"length", numberValue(job.length)}});
    }
    QJsonArray serials;
    for (const SerialField& field : job.serials) {
        QJsonObject entry{{"name", field.name},
                          {"address", numberValue(field.address)},
                          {"length", field.length},
                          {"format", serialFormatName(field.format)}};
        if (!field.series.isEmpty() && field.series != job.name + QLatin1Char('.') + field.name) {
            entry.insert("series", field.series);
        }
        if (field.fromCsv()) {
            entry.insert("file", field.csvPath);
            entry.insert("column", field.csvColumn);
        } else {
            entry.insert("start", numberValue(field.start));
            entry.insert("step", numberValue(field.step));
            entry.insert("last", numberValue(field.last));
            if (field.format == SerialFormat::Mac) {
                entry.insert("prefix", QString::fromLatin1(field.macPrefix.toHex(':').toUpper()));
            }
        }
        serials.append(entry);
    }
    object.insert("serials", serials);
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}
