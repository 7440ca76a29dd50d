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
  const std::vector<std::uint32_t> pixels = RenderArgb(size);
  QImage image(size, size, QImage::Format_ARGB32);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) image.setPixel(x, y, pixels[static_cast<std::size_t>(y * size + x)]);
  }
  return image.save(argv[2], "PNG") ? 0 : 1;
}
