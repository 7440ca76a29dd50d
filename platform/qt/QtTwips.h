#pragma once

#include <QtGlobal>
#include <cmath>

namespace velquin {

inline constexpr int kTwipsPerInch = 1440;
// The designs give line widths in pixels at 96 DPI, where a pixel is 15 twips.
inline constexpr int kTwipsPerDesignPixel = kTwipsPerInch / 96;

// Twips to pixels at a logical DPI, rounded half away from zero as MulDiv rounds: the one
// place where layout numbers are scaled. Qt maps these pixels to the device's itself.
inline int TwipsToPixels(int twips, qreal logicalDpi) {
  return static_cast<int>(std::lround(twips * logicalDpi / kTwipsPerInch));
}

}  // namespace velquin
