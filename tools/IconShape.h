#pragma once

// Velquin's application icon as a shape on a 32-unit square: a navy rounded tile with a white
// "V" over an amber text cursor bar. The exe's 32 x 32 icon samples it at pixel centres; the
// Linux icons sample it at any size.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

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

}  // namespace velquin::icon
