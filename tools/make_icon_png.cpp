// Renders Velquin's icon at any size as a PNG for the Linux desktop: the same shape as the
// exe's 32 x 32 icon, each pixel the average of 4 x 4 samples so large sizes have smooth edges.
// Usage: make_icon_png SIZE OUT.png
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "tools/IconShape.h"

using namespace velquin::icon;

int main(int argc, char** argv) {
  const int size = argc == 3 ? std::atoi(argv[1]) : 0;
  if (size <= 0) {
    std::fprintf(stderr, "usage: %s SIZE OUT.png\n", argv[0]);
    return 2;
  }
  constexpr int kSamples = 4;
  QImage image(size, size, QImage::Format_ARGB32);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      int r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const double scale = kUnits / size;
          const Colour c =
              IconColourAt((x + (sx + 0.5) / kSamples) * scale, (y + (sy + 0.5) / kSamples) * scale);
          if (c == kClear) continue;
          r += kPalette[c][0];
          g += kPalette[c][1];
          b += kPalette[c][2];
          a += 255;
        }
      }
      const int n = kSamples * kSamples, opaque = a / 255;
      image.setPixel(x, y, opaque == 0 ? 0 : qRgba(r / opaque, g / opaque, b / opaque, a / n));
    }
  }
  return image.save(argv[2], "PNG") ? 0 : 1;
}
