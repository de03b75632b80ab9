#pragma once
// Positions and sizes are designed in twips: 15 twips to a pixel.

#include <QRect>
#include <cmath>

namespace tav {

constexpr int kTwipsPerPixel = 15;

inline int twips(int tw) { return int(std::lround(tw / double(kTwipsPerPixel))); }
inline int pixelsToTwips(int px) { return px * kTwipsPerPixel; }
inline QRect twipRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

} // namespace tav
