#include "cli/DumpFacts.h"

#include "base/HexText.h"
#include "cli/AccessRange.h"
#include "cli/BoardResult.h"

#include <QJsonArray>
#include <QtEndian>

namespace {

// Differences a text names; JSON carries every listed one.
constexpr int kNamedInText = 8;

QString crc32Text(quint32 crc)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(crc, bytes.data());
    return QString::fromLatin1(bytes.toHex());
}

bool isOverwrite(const BoardResult& result)
{
    return result.command == CliCommand::Write || result.command == CliCommand::Erase;
}

QString plural(qint64 count, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

}  // namespace

QString checksumText(const BoardResult& result)
{
    if (!result.checksums) return {};
    return QStringLiteral("CRC-32 %1, SHA-256 %2, sum %3")
        .arg(crc32Text(result.checksums->crc32),
             QString::fromLatin1(result.checksums->sha256.toHex()),
             hexText(result.checksums->sum16, 4));
}

QString readsDifferText(const ReadAgreement& agreement)
{
    QString text = QStringLiteral("the %1 reads differ at %2")
                       .arg(agreement.reads)
                       .arg(plural(agreement.differing, "address", "addresses"));
    if (agreement.undecided == agreement.differing) {
        text += agreement.differing == 1 ? QStringLiteral(", without a majority")
                                         : QStringLiteral(", none with a majority");
    } else if (agreement.undecided > 0) {
        text += QStringLiteral(", %1 of them without a majority").arg(agreement.undecided);
    } else {
        text += agreement.differing == 1 ? QStringLiteral(", decided by a majority")
                                         : QStringLiteral(", each decided by a majority");
    }
    QStringList named;
    for (const ReadDisagreement& difference : agreement.first.mid(0, kNamedInText)) {
        QStringList values;
        for (const std::uint8_t value : difference.values) values.append(hexText(value, 2));
        named.append(addressText(difference.address) + QStringLiteral(": ") +
                     values.join(QLatin1Char(' ')));
    }
    text += QStringLiteral(" (") + named.join(QStringLiteral(", "));
    if (agreement.differing > named.size()) text += QStringLiteral(", ...");
    return text + QLatin1Char(')');
}

QStringList dumpNotices(const BoardResult& result)
{
    QStringList notices;
    const QString port = result.link.devicePath + QStringLiteral(": ");
    if (result.backup && result.backup->saved()) {
        notices.append(port + QStringLiteral("the part was saved in %1 before the %2")
                                  .arg(result.backup->path, cliCommandName(result.command)));
    }
    if (result.agreement && result.agreement->decided()) {
        notices.append(port + readsDifferText(*result.agreement) +
                       QStringLiteral(": the contact is unreliable; check the clip, the socket "
                                      "or the wires"));
    }
    if (result.allBlank) {
        notices.append(
            port + QStringLiteral("the chip reads as nothing but 0xFF: a blank part, an empty "
                                  "socket and a chip inserted the wrong way round all read so"));
    }
    return notices;
}

void addDumpFacts(QJsonObject& object, const BoardResult& result)
{
    const std::optional<ImageChecksums>& checksums = result.checksums;
    object.insert("crc32", checksums ? QJsonValue(crc32Text(checksums->crc32)) : QJsonValue());
    object.insert("sha256", checksums ? QJsonValue(QString::fromLatin1(checksums->sha256.toHex()))
                                      : QJsonValue());
    object.insert("sum16", checksums ? QJsonValue(hexText(checksums->sum16, 4)) : QJsonValue());
    object.insert("allBlank", result.allBlank);
    QJsonValue differ;
    if (const std::optional<ReadAgreement>& agreement = result.agreement) {
        QJsonArray first;
        for (const ReadDisagreement& difference : agreement->first) {
            QJsonArray values;
            for (const std::uint8_t value : difference.values) values.append(value);
            first.append(QJsonObject{
                {"address", difference.address},
                {"values", values},
                {"majority", difference.majority ? QJsonValue(*difference.majority) : QJsonValue()},
            });
        }
        differ = QJsonObject{{"reads", agreement->reads},
                             {"addresses", agreement->differing},
                             {"undecided", agreement->undecided},
                             {"first", first}};
    }
    object.insert("readsDiffer", differ);
    if (!isOverwrite(result)) return;
    object.insert("backup", result.backup ? QJsonValue(result.backup->path) : QJsonValue());
    object.insert("changedOnly", result.changedOnly);
    object.insert("bytesWritten", result.bytesWritten);
    object.insert("writeAccesses", result.writeAccesses);
    object.insert("unchanged", result.chipHeldImage);
}
