#include "cli/FileTexts.h"

#include "base/DataFileReader.h"
#include "base/SpecialFile.h"
#include "devices/CatalogueLoad.h"
#include "devices/DeviceRecord.h"
#include "devices/PartSizeCheck.h"
#include "devices/SelectedDevice.h"
#include "files/FileReplacement.h"

namespace {

QString fieldName(int field)
{
    switch (field) {
        case DeviceRecord::Family:
            return QStringLiteral("family");
        case DeviceRecord::SizeExponent:
            return QStringLiteral("size exponent");
        case DeviceRecord::PageSize:
            return QStringLiteral("page size");
        case DeviceRecord::CommandVariant:
            return QStringLiteral("command variant");
        case DeviceRecord::MicrowireParam:
            return QStringLiteral("Microwire setting");
        default:
            return QStringLiteral("word %1").arg(field + 1);
    }
}

}  // namespace

QString notRegularFileText()
{
    return QStringLiteral(
        "it is not a regular file: a named pipe, a device or a socket is not read");
}

QString fileWriteFailureText(const FileWriteFailure& failure)
{
    using Cause = FileWriteFailure::Cause;
    switch (failure.cause) {
        case Cause::None:
            break;
        case Cause::NotRegularFile:
            return QStringLiteral("it is not a regular file (a pipe or a device)");
        case Cause::Folder:
            return QStringLiteral("it is a folder");
        case Cause::NoFolder:
            return QStringLiteral("there is no folder %1").arg(failure.path);
        case Cause::WriteProtected:
            return QStringLiteral("it is write-protected");
        case Cause::FolderWriteProtected:
            return QStringLiteral(
                       "the folder %1 may not be written to, so the old file could not be kept "
                       "while the new one is written")
                .arg(failure.path);
        case Cause::DiskFull:
            return QStringLiteral("the disk is full");
        case Cause::CutShort:
            return QStringLiteral("the system stopped taking the bytes");
        case Cause::System:
            return failure.systemText;
    }
    return {};
}

QString rowProblemText(const DeviceRowProblem& problem)
{
    switch (problem.kind) {
        case DeviceRowProblem::Kind::None:
            break;
        case DeviceRowProblem::Kind::NotANumber:
            return QStringLiteral("its %1 '%2' is not a number")
                .arg(fieldName(problem.field), problem.word);
        case DeviceRowProblem::Kind::SizeOutOfRange:
            return QStringLiteral("its size exponent %1 is outside %2 to %3 (16 to 131072 bytes)")
                .arg(problem.sizeExponent)
                .arg(SelectedDevice::kMinSizeExponent)
                .arg(SelectedDevice::kMaxSizeExponent);
    }
    return {};
}

QStringList catalogueNoticeLines(const CatalogueLoad& load)
{
    QStringList lines;
    if (load.ignoredRows > 0) {
        lines.append(QStringLiteral("%1 holds more than %2 parts; the last %3 were left out")
                         .arg(load.path)
                         .arg(DataFileContents::kMaxRows)
                         .arg(load.ignoredRows));
    }
    if (load.itemsWithTooManyWords > 0) {
        lines.append(QStringLiteral("%1: %2 lines have more than %3 words; the extra words were "
                                    "left out")
                         .arg(load.path)
                         .arg(load.itemsWithTooManyWords)
                         .arg(DataFileContents::kMaxWords));
    }
    if (load.endsInsideQuote) {
        lines.append(QStringLiteral("%1: the last item's quote is not closed").arg(load.path));
    }
    return lines;
}

QString partSizeText(const QString& name, const QString& partName, const PartSizeMismatch& mismatch,
                     const QStringList& fitting)
{
    const QString parts = fitting.isEmpty()
                              ? QStringLiteral("no part of the data file has that size")
                              : QStringLiteral("it fits: ") + fitting.join(QStringLiteral(", "));
    return QStringLiteral("%1 is an image of %2 bytes, but the %3 holds %4; %5")
        .arg(name)
        .arg(mismatch.fileBytes)
        .arg(partName)
        .arg(mismatch.partBytes)
        .arg(parts);
}

QString settingsSetAsideText(const SetAsideFile& file)
{
    if (!file.moved()) {
        return QStringLiteral(
                   "the settings file %1 is not a regular file and could not be "
                   "renamed (%2); the window's settings are not used")
            .arg(file.path, file.systemText);
    }
    return QStringLiteral(
               "the settings file %1 was not a regular file (a pipe or a device); it "
               "was renamed to %2")
        .arg(file.path, file.newPath);
}
