#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

struct BoardResult;
struct ReadAgreement;

// What vorle6-cli says, in English, about how far a board's dump can be trusted: the image's
// checksums, reads that differed, the backup made before an overwrite, and contents of nothing
// but 0xFF.

// The image's checksums, for the end of the summary line: "CRC-32 cbf43926, SHA-256 15e2...,
// sum FF00" (CRC-32 and SHA-256 in lower case, as crc32 and sha256sum print them; the sum as the
// window shows it). Empty when the result has none.
[[nodiscard]] QString checksumText(const BoardResult& result);

// "the 2 reads differ at 1 address, without a majority: 0x00020: 5A 5B"
[[nodiscard]] QString readsDifferText(const ReadAgreement& agreement);

// Notices for standard error: the backup saved, reads that differed but were decided by a
// majority, contents of nothing but 0xFF.
[[nodiscard]] QStringList dumpNotices(const BoardResult& result);

// Adds the facts to a board's JSON object: crc32, sha256, sum16 (null without an image),
// allBlank, readsDiffer (null or {reads, addresses, undecided, first: [{address, values,
// majority}]}), and for write and erase backup, changedOnly, bytesWritten, writeAccesses and
// unchanged.
void addDumpFacts(QJsonObject& object, const BoardResult& result);
