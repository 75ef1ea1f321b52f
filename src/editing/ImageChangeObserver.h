#pragma once

#include "editing/AddressRange.h"
#include "editing/EditKind.h"

// One change of the memory image as its views need to hear of it.
struct ImageChange {
    enum class Way {
        Done,     // a new edit
        Undone,   // an edit taken back
        Redone,   // an edit made again
        Resized,  // the image has another size (another part): the history was cleared
    };

    EditKind kind = EditKind::ByteEdit;
    Way way = Way::Done;
    // The addresses whose bytes may differ from before: the grid repaints these rows, and the
    // checksum is taken again. The whole image for Resized.
    AddressRange range;
};

// Told of every change made through an ImageEditor, after the image and the unsaved state have
// taken it. The window repaints the range, updates the checksum label and the Undo/Redo menu
// entries; tests record the changes.
class ImageChangeObserver {
public:
    virtual ~ImageChangeObserver() = default;
    virtual void imageChanged(const ImageChange& change) = 0;
};
