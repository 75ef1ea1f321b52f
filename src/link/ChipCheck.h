#pragma once

// Verify and blank check compare through the memory image's comparison, which the window also
// uses to mark differing cells.
#include "image/ImageComparison.h"
