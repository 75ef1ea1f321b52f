#include "cli/ResultJson.h"

#include "cli/BoardResult.h"
#include "cli/DumpFacts.h"
#include "cli/ResultTexts.h"

#include <chrono>

QJsonObject resultJson(const BoardResult& result)
{
    QJsonObject object;
    object.insert("port", result.link.devicePath);
    object.insert("portNumber", result.link.portNumber);
    object.insert("part", result.partName.isEmpty() ? QJsonValue() : QJsonValue(result.partName));
    object.insert("operation", cliCommandName(result.command));
    object.insert("outcome", resultOutcomeName(result));
    object.insert("exitCode", result.exitCode());
    object.insert("bytes", result.bytes);
    object.insert("seconds", std::chrono::duration<double>(result.elapsed).count());
    QJsonValue first;
    if (result.comparison && !result.comparison->first.isEmpty()) {
        const ByteDifference& difference = result.comparison->first.first();
        first = QJsonObject{{"address", difference.address},
                            {"expected", difference.expected},
                            {"actual", difference.actual}};
    }
    object.insert("firstMismatch", first);
    object.insert("mismatches", result.comparison ? result.comparison->mismatches : 0);
    object.insert("identification", result.access.identification.isEmpty()
                                        ? QJsonValue()
                                        : QJsonValue(result.access.identification));
    object.insert("message", resultMessage(result));
    if (result.command == CliCommand::Read && !result.outputPath.isEmpty()) {
        object.insert("file", result.outputPath);
    }
    if ((result.command == CliCommand::Write || result.command == CliCommand::Erase) &&
        !result.succeeded()) {
        object.insert("lastAddressWritten", result.writtenTo);
        object.insert("boardAwaitsBytes", result.access.bytesBoardAwaits());
    }
    if (result.earlierStoppedWrite) {
        object.insert("earlierStoppedWrite",
                      QJsonObject{{"lastAddress", result.earlierStoppedWrite->lastAddress},
                                  {"bytesAwaited", result.earlierStoppedWrite->bytesAwaited}});
    }
    addDumpFacts(object, result);
    return object;
}
