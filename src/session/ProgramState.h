#pragma once

#include "base/UiLanguage.h"
#include "devices/DeviceCatalogue.h"
#include "devices/SelectedDevice.h"
#include "editing/ImageEditor.h"
#include "image/MemoryImage.h"
#include "image/UnsavedImage.h"

#include <QString>

#include <optional>

// The program-wide state that exists once for the whole run. The main window owns it and
// hands it to the parts that read or change it.
struct ProgramState {
    QString appFolder;                           // the executable's folder, ending with a separator
    QString dataFileVersion;                     // the data file's version line
    UiLanguage language = UiLanguage::Japanese;  // the language the windows show
    DeviceCatalogue catalogue;                   // DeviceTable
    std::optional<SelectedDevice> selectedDevice;  // none until a usable row is selected
    MemoryImage image;
    UnsavedImage unsaved;  // the image holds edits that are in no file and on no chip
    // The size of the part whose image the file last loaded is (ImageFileLoad::imageBytes); 0
    // once the image was read from the chip or cleared. A Block Write asks first when it does
    // not fit the selected part.
    qint64 loadedFileBytes = 0;
    // Every change of the image goes through here: one undo step each, the unsaved state kept.
    ImageEditor editor{image, unsaved};
};
