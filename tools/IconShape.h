#pragma once

// Velquin's application icon as a shape on a 32-unit square: a navy rounded tile with a white
// "V" over an amber text cursor bar. The exe's 32 x 32 icon samples it at pixel centres; the
// Linux icons sample it at any size.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace velquin::icon {

inline constexpr double kUnits = 32;
enum Colour : std::uint8_t { kClear, kNavy, kEdge, kWhite, kAmber, kShade };
constexpr std::array<std::array<std::uint8_t, 3>, 6> kPalette = {{{0, 0, 0},
                                                                  {0x1B, 0x2A, 0x49},
                                                                  {0x0E, 0x16, 0x2A},
                                                                  {0xFF, 0xFF, 0xFF},
                                                                  {0xF2, 0x8C, 0x28},
                                                                  {0x2E, 0x45, 0x73}}};

inline double DistanceToSegment(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  double t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
  t = t < 0 ? 0 : (t > 1 ? 1 : t);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

inline Colour IconColourAt(double cx, double cy) {
  // Rounded tile: corners of radius 6 are transparent.
  const double r = 6, inner = kUnits - r;
  const double qx = cx < r ? r - cx : (cx > inner ? cx - inner : 0);
  const double qy = cy < r ? r - cy : (cy > inner ? cy - inner : 0);
  const double corner = std::hypot(qx, qy);
  if (corner > r) return kClear;
  if (corner > r - 1.2 || cx < 1.2 || cy < 1.2 || cx > kUnits - 1.2 || cy > kUnits - 1.2) return kEdge;
  // The "V": two strokes meeting at the bottom.
  const double stroke =
      std::min(DistanceToSegment(cx, cy, 8, 6, 16, 23), DistanceToSegment(cx, cy, 24, 6, 16, 23));
  if (stroke < 2.6) return kWhite;
  if (cy >= 25.5 && cy <= 28 && cx >= 9 && cx <= 23) return kAmber;
  return cy < 12 ? kShade : kNavy;
}

// The icon at size x size pixels as 0xAARRGGBB values, row by row, each pixel the average of
// 4 x 4 samples so that large sizes have smooth edges.
inline std::vector<std::uint32_t> RenderArgb(int size) {
  constexpr int kSamples = 4;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
  const double scale = kUnits / size;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      unsigned r = 0, g = 0, b = 0, samples = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const Colour c =
              IconColourAt((x + (sx + 0.5) / kSamples) * scale, (y + (sy + 0.5) / kSamples) * scale);
          if (c == kClear) continue;
          r += kPalette[c][0];
          g += kPalette[c][1];
          b += kPalette[c][2];
          ++samples;
        }
      }
      if (samples == 0) continue;
      const unsigned alpha = 255 * samples / (kSamples * kSamples);
      pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(size) + static_cast<std::size_t>(x)] =
          alpha << 24 | (r / samples) << 16 | (g / samples) << 8 | b / samples;
    }
  }
  return pixels;
}

}  // namespace velquin::icon
