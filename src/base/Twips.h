#pragma once

#include <cmath>

// Window positions are kept in twips, 1/1440 inch; the screen's logical dpi converts them.
inline int twipsToPixels(double twips, double dotsPerInch)
{
    return static_cast<int>(std::lround(twips * dotsPerInch / 1440.0));
}

inline double pixelsToTwips(int pixels, double dotsPerInch)
{
    return std::round(pixels * 1440.0 / dotsPerInch);
}
