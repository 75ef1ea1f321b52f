#pragma once

#include "base/UiLanguage.h"

#include <QString>
#include <QStringList>

class DeviceRecord;
struct CatalogueLoad;
struct DeviceRowProblem;
struct SelectedDevice;

// The window's words for the selected part and the catalogue. In Japanese the part's notes are
// the data file's own text; in English they are worded from the part's numbers, since the data
// file is written in Japanese only.

// Lbl_PageSize: memory size, and for I2C parts the page size on a second line.
[[nodiscard]] QString pageSizeLabelText(const SelectedDevice& device);

// Lbl_Spec: supply voltage, endurance, density, write and clock speed, for I2C and Microwire
// parts. In English the endurance is the number of cycles ("1,000,000 cycles") where the data
// file's word can be read as one.
[[nodiscard]] QString specLineText(const SelectedDevice& device, const DeviceRecord& record,
                                   UiLanguage language);

// Status panel 4: the data file's note in Japanese ("I2C／512バイト／ページ16バイト"); in
// English the bus, the size, the page and the addressing ("I2C, 512 bytes, 16-byte pages").
[[nodiscard]] QString statusNoteText(const SelectedDevice& device, UiLanguage language);

// The catalogue's problems at start-up, one text each; empty when there are none.
[[nodiscard]] QStringList catalogueNotices(const CatalogueLoad& load);

// Why a row cannot be used: "ファミリ の値「two」が数値ではありません。"
[[nodiscard]] QString rowProblemText(const DeviceRowProblem& problem);
