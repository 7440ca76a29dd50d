// The second yardstick for start-up time: Velquin's main window made by hand in one function,
// the way a small Win32 tool without any design table or toolkit layer would make it. The
// same classes, styles, places and fonts (one per face), the same manifest, the status bar
// with its parts, the panel's controls hidden, and the names and macros read from the same
// player file through the same registry entry. Nothing else: no events beyond closing.
#include <windows.h>

#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::wstring GameFolder() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zovur.exe",
                    0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) {
    return {};
  }
  char path[MAX_PATH] = {};
  DWORD size = sizeof path - 1, type = 0;
  RegQueryValueExA(key, "Path", nullptr, &type, reinterpret_cast<BYTE*>(path), &size);
  RegCloseKey(key);
  wchar_t wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
  return wide;
}

std::wstring Field(const std::vector<char>& file, std::size_t offset) {
  std::string bytes;
  for (std::size_t i = offset; i < file.size() && file[i] != 0; ++i) bytes.push_back(file[i]);
  wchar_t wide[256] = {};
  MultiByteToWideChar(CP_ACP, 0, bytes.c_str(), -1, wide, 256);
  return wide;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"HandmadeWindow";
  RegisterClassExW(&wc);

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const HWND window =
      CreateWindowExW(WS_EX_CONTROLPARENT, L"HandmadeWindow", L"Handmade Window", style, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const auto px = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };
  const auto font = [dpi](const wchar_t* face, bool bold) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(825, dpi, 7200);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = ANSI_CHARSET;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&lf);
  };
  const HFONT windowFont = font(L"MS Sans Serif", false), buttonFont = font(L"MS Sans Serif", true),
              boxFont = font(L"Arial", false);
  const auto make = [&](const wchar_t* cls, const wchar_t* text, DWORD more, DWORD ex, int id, int l, int t,
                        int w, int h, HFONT f) {
    const HWND child =
        CreateWindowExW(ex, cls, text, WS_CHILD | more, px(l), px(t), px(l + w) - px(l), px(t + h) - px(t),
                        window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
    return child;
  };
  const DWORD label = SS_LEFT | SS_NOPREFIX | SS_NOTIFY, box = ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP,
              button = BS_PUSHBUTTON | WS_TABSTOP;

  std::wstring path = GameFolder() + L"\\plyr.sav";
  std::ifstream in(path.c_str(), std::ios::binary);
  const std::vector<char> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

  const wchar_t* characters[] = {L"Character 1", L"Character 2", L"Character 3", L"Character 4",
                                 L"Character 5"};
  for (int k = 0; k < 5; ++k) {
    make(L"STATIC", characters[k], WS_VISIBLE | label, 0, 1008 + k, 120, 280 + 360 * k, 975, 255, windowFont);
    make(L"EDIT", Field(file, 12 + 2108 * k).c_str(), WS_VISIBLE | box, WS_EX_CLIENTEDGE, 1000 + k, 1200,
         240 + 360 * k, 3015, 285, boxFont);
  }
  make(L"BUTTON", L"Help", WS_VISIBLE | button, 0, 1005, 120, 2040, 975, 315, buttonFont);
  make(L"BUTTON", L"Charmap", WS_VISIBLE | button, 0, 1006, 1200, 2040, 1455, 315, buttonFont);
  make(L"BUTTON", L"Save Names", WS_VISIBLE | button, 0, 1007, 2760, 2040, 1455, 315, buttonFont);
  make(L"BUTTON", L"Macro Editor >>", WS_VISIBLE | button, 0, 1014, 2400, 2400, 1815, 315, buttonFont);
  const int labelTops[10] = {3060, 3420, 3800, 4160, 4500, 4840, 5200, 5560, 5920, 6280};
  for (int m = 0; m < 10; ++m) {
    const std::wstring hotkey = L"SHIFT + F" + std::to_wstring(m + 1);
    make(L"STATIC", hotkey.c_str(), label, 0, 1028 + m, 120, labelTops[m], 975, 255, windowFont);
    make(L"EDIT", Field(file, 228 + 40 * m).c_str(), box, WS_EX_CLIENTEDGE, 1015 + m, 1200, 3000 + 360 * m,
         3015, 285, boxFont);
  }
  make(L"BUTTON", L"Help", button, 0, 1025, 120, 6600, 975, 315, buttonFont);
  make(L"BUTTON", L"Default", button, 0, 1026, 1200, 6600, 1455, 315, buttonFont);
  make(L"BUTTON", L"Save Macros", button, 0, 1027, 2760, 6600, 1455, 315, buttonFont);
  const HWND status =
      make(STATUSCLASSNAMEW, L"", WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0, 1013, 0,
           3045 - 255, 4335, 255, windowFont);
  int edges[3] = {px(1840), px(1840 + 1240), px(1840 + 2480)};
  SendMessageW(status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  wchar_t clock[64] = {};
  GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, clock, 64);
  SendMessageW(status, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(clock));
  GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, clock, 64, nullptr);
  SendMessageW(status, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(clock));

  RECT outer{0, 0, px(4335), px(3045)};
  AdjustWindowRectEx(&outer, style, FALSE, WS_EX_CONTROLPARENT);
  SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER);
  ShowWindow(window, SW_SHOWNORMAL);
  SetFocus(GetDlgItem(window, 1000));

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
