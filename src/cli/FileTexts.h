#pragma once

#include <QString>
#include <QStringList>

struct CatalogueLoad;
struct DeviceRowProblem;
struct FileWriteFailure;
struct PartSizeMismatch;
struct SetAsideFile;

// What vorle6-cli says, in English, about the facts that the data file, image files and the
// settings file give (the window's words are not used).

// Why a file cannot be written: "it is write-protected", "the disk is full", ...
[[nodiscard]] QString fileWriteFailureText(const FileWriteFailure& failure);

// Why a file given by name is not read: "it is not a regular file: a named pipe, ...".
[[nodiscard]] QString notRegularFileText();

// Why a row of the data file cannot be used: "the size exponent 18 is outside 4 to 17 (16 to
// 131072 bytes)".
[[nodiscard]] QString rowProblemText(const DeviceRowProblem& problem);

// The data file's problems, one line each.
[[nodiscard]] QStringList catalogueNoticeLines(const CatalogueLoad& load);

// "FILE is an image of 512 bytes, but the 24C02 holds 256; parts of that size: 24C04, ..."
[[nodiscard]] QString partSizeText(const QString& name, const QString& partName,
                                   const PartSizeMismatch& mismatch, const QStringList& fitting);

// A settings file that was not a regular file, set aside or not.
[[nodiscard]] QString settingsSetAsideText(const SetAsideFile& file);
