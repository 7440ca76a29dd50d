#pragma once

#include <windows.h>

namespace velquin {

inline constexpr int kTwipsPerInch = 1440;

// The DPI a window is drawn at: its monitor's under per-monitor awareness, else the system's.
UINT WindowDpi(HWND window);

// Twips to pixels at a DPI: the one place where layout numbers are scaled.
inline int TwipsToPixels(int twips, UINT dpi) {
  return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
}

// The outer size of a window whose client area is the given size, at a DPI.
SIZE OuterSize(SIZE client, DWORD style, DWORD exStyle, UINT dpi);

}  // namespace velquin
