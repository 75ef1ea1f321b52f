#pragma once

#include <QFont>

// Fonts shared by the windows.
namespace UiFonts {

// The fixed-pitch Japanese face of the grid and the editor boxes: MS Gothic where installed,
// else IPAGothic (fonts-ipafont-gothic) or the system's monospace face.
[[nodiscard]] QFont fixedPitch(int pointSize);

}  // namespace UiFonts
