#include "cli/CommandResultJson.h"

#include "cli/ExitCodes.h"

namespace {

QString outcomeOf(int exitCode)
{
    switch (exitCode) {
        case ExitCodes::kDone:
            return QStringLiteral("done");
        case ExitCodes::kUsage:
            return QStringLiteral("usage-error");
        case ExitCodes::kFile:
            return QStringLiteral("file-error");
        case ExitCodes::kNoBoard:
            return QStringLiteral("port-unusable");
        case ExitCodes::kTransfer:
            return QStringLiteral("transfer-failed");
        case ExitCodes::kMismatch:
            return QStringLiteral("mismatch");
        case ExitCodes::kInterrupted:
            return QStringLiteral("interrupted");
    }
    return QStringLiteral("failed");
}

}  // namespace

QJsonObject commandResultJson(const QString& operation, int exitCode, const QString& message)
{
    return QJsonObject{{"port", QJsonValue()},
                       {"part", QJsonValue()},
                       {"operation", operation.isEmpty() ? QJsonValue() : QJsonValue(operation)},
                       {"outcome", outcomeOf(exitCode)},
                       {"exitCode", exitCode},
                       {"message", message}};
}
