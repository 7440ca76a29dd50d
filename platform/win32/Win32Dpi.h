#pragma once

#include <windows.h>

namespace velquin {

// The DPI a window is drawn at: its monitor's under per-monitor awareness, else the system's.
UINT WindowDpi(HWND window);

// The outer size of a window whose client area is the given size, at a DPI.
SIZE OuterSize(SIZE client, DWORD style, DWORD exStyle, UINT dpi);

}  // namespace velquin
