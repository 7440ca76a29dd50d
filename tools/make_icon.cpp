// Draws Velquin's application icon, 32 x 32 in 256 colours, and writes it as an .ico file:
// a navy rounded tile with a white "V" over an amber text cursor bar.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

#include "tools/IconShape.h"

namespace {

using namespace velquin::icon;

constexpr int kSize = 32;

Colour PixelAt(int x, int y) {
  return IconColourAt(x + 0.5, y + 0.5);
}

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<std::uint8_t>& out, unsigned v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUT.ico\n", argv[0]);
    return 2;
  }
  std::vector<std::uint8_t> image;
  const unsigned pixelBytes = kSize * kSize, maskBytes = kSize * 4;
  Put32(image, 40);         // BITMAPINFOHEADER
  Put32(image, kSize);      // width
  Put32(image, kSize * 2);  // height: colour plus mask
  Put16(image, 1);          // planes
  Put16(image, 8);          // bits per pixel
  Put32(image, 0);          // BI_RGB
  Put32(image, pixelBytes + maskBytes);
  Put32(image, 0);
  Put32(image, 0);
  Put32(image, 256);
  Put32(image, 0);
  for (int i = 0; i < 256; ++i) {
    const auto& rgb = i < static_cast<int>(kPalette.size()) ? kPalette[i] : kPalette[0];
    image.insert(image.end(), {rgb[2], rgb[1], rgb[0], 0});
  }
  for (int y = kSize - 1; y >= 0; --y) {  // bottom-up rows
    for (int x = 0; x < kSize; ++x) image.push_back(PixelAt(x, y));
  }
  for (int y = kSize - 1; y >= 0; --y) {
    std::uint32_t bits = 0;
    for (int x = 0; x < kSize; ++x) {
      if (PixelAt(x, y) == kClear) bits |= 1u << (31 - x);
    }
    image.insert(image.end(), {std::uint8_t(bits >> 24), std::uint8_t(bits >> 16), std::uint8_t(bits >> 8),
                               std::uint8_t(bits)});
  }

  std::vector<std::uint8_t> file;
  Put16(file, 0);
  Put16(file, 1);                                 // icon
  Put16(file, 1);                                 // one image
  file.insert(file.end(), {kSize, kSize, 0, 0});  // 0 colours means 256
  Put16(file, 1);
  Put16(file, 8);
  Put32(file, static_cast<unsigned>(image.size()));
  Put32(file, 6 + 16);
  file.insert(file.end(), image.begin(), image.end());
  std::ofstream(argv[1], std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return 0;
}
