#include "e2e/VelquinApp.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "cases/Scenarios.h"

namespace velquin::e2e {

namespace {

std::wstring Wide(std::string_view utf8) {
  std::wstring wide(utf8.size(), L'\0');
  wide.resize(static_cast<std::size_t>(MultiByteToWideChar(
      CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

std::string Utf8(std::wstring_view wide) {
  std::string utf8(wide.size() * 3, '\0');
  utf8.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(),
                                                           static_cast<int>(wide.size()), utf8.data(),
                                                           static_cast<int>(utf8.size()), nullptr, nullptr)));
  return utf8;
}

// The visible top-level windows of one process with this caption.
std::vector<HWND> WindowsNamed(DWORD processId, const char* caption) {
  std::vector<HWND> found;
  for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, nullptr, Wide(caption).c_str()));) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == processId && IsWindowVisible(w)) found.push_back(w);
  }
  return found;
}

// What the screen shows of a window: 24-bit rows, bottom row first, padded to whole DWORDs.
struct ScreenImage {
  int width = 0, height = 0, stride = 0;
  std::vector<unsigned char> bits;
  COLORREF At(int x, int y) const {
    const unsigned char* p = &bits[static_cast<std::size_t>((height - 1 - y) * stride + 3 * x)];
    return RGB(p[2], p[1], p[0]);
  }
};

ScreenImage CaptureScreen(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  ScreenImage image{
      rect.right - rect.left, rect.bottom - rect.top, ((rect.right - rect.left) * 3 + 3) & ~3, {}};
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), image.width, image.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, image.width, image.height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, old);
  const auto* first = static_cast<const unsigned char*>(bits);
  if (first) image.bits.assign(first, first + image.stride * image.height);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return image;
}

RECT ChildRect(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

VelquinApp::VelquinApp(std::wstring exePath, std::wstring game, std::wstring artifacts)
    : exe_(std::move(exePath)), game_(std::move(game)), artifacts_(std::move(artifacts)) {}

void VelquinApp::Store(const std::vector<unsigned char>& bytes) {
  std::ofstream out(std::filesystem::path(game_ + L"\\plyr.sav"), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<unsigned char> VelquinApp::File() const {
  std::ifstream in(std::filesystem::path(game_ + L"\\plyr.sav"), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void VelquinApp::Hold(bool hold) {
  if (hold && held_ == INVALID_HANDLE_VALUE) {
    held_ = CreateFileW((game_ + L"\\plyr.sav").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                        OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(held_, INVALID_HANDLE_VALUE) << "could not hold plyr.sav, error " << GetLastError();
  } else if (!hold && held_ != INVALID_HANDLE_VALUE) {
    CloseHandle(held_);
    held_ = INVALID_HANDLE_VALUE;
  }
}

// The game entry, as the 32-bit game's installer writes it.
void VelquinApp::PointGameAt(bool game) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zovur.exe",
                  0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr);
  if (game) {
    RegSetValueExW(key, L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(game_.c_str()),
                   static_cast<DWORD>((game_.size() + 1) * sizeof(wchar_t)));
  } else {
    RegDeleteValueW(key, L"Path");
  }
  RegCloseKey(key);
}

bool VelquinApp::Start() {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  // Under Wine on a busy host, CreateProcessW has been seen to fail at once, before the program
  // ran at all; that is no fault of the program, so try again, and say so in the log.
  for (int attempt = 1;; ++attempt) {
    std::wstring commandLine = L"\"" + exe_ + L"\"";
    if (CreateProcessW(exe_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process_)) {
      break;
    }
    std::fprintf(stderr, "CreateProcessW failed, attempt %d, error %lu\n", attempt, GetLastError());
    if (attempt == 3) return false;
    Sleep(500);
  }
  WaitForInputIdle(process_.hProcess, 10000);
  for (int waited = 0; waited < 20000; waited += 50, Sleep(50)) {
    if (!WindowsNamed(process_.dwProcessId, cases::kMain).empty()) return true;
  }
  DWORD exitCode = 0;
  GetExitCodeProcess(process_.hProcess, &exitCode);
  std::fprintf(stderr, exitCode == STILL_ACTIVE ? "no main window within 20 s\n"
                                                : "the program ended before showing its main window\n");
  return false;
}

void VelquinApp::Stop() {
  if (!process_.hProcess) return;
  if (!Close(cases::kMain)) TerminateProcess(process_.hProcess, 1);
  WaitForSingleObject(process_.hProcess, 5000);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
  process_ = {};
}

HWND VelquinApp::Window(const char* caption) {
  const std::vector<HWND> found = WindowsNamed(process_.dwProcessId, caption);
  return found.empty() ? nullptr : found.front();
}

GUITHREADINFO VelquinApp::Gui() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(process_.dwThreadId, &info);
  return info;
}

void VelquinApp::Type(const char* window, ControlId id, const std::string& text) {
  SendMessageW(Control(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

void VelquinApp::Key(const char*, const std::string& key) {
  const HWND focus = Gui().hwndFocus;
  const WPARAM code = key == "Tab" ? VK_TAB : key == "Enter" ? VK_RETURN : VK_ESCAPE;
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(code), MAPVK_VK_TO_VSC)) << 16;
  PostMessageW(focus, WM_KEYDOWN, code, scan | 1);
  PostMessageW(focus, WM_KEYUP, code, scan | 0xC0000001);
  // Let the program's loop take both before the caller looks again.
  for (int i = 0; i < 40 && Gui().hwndFocus == focus; ++i) Sleep(25);
}

// The pointer moves there as the user's hand would move it.
void VelquinApp::Hover(const char* window, ControlId id) {
  POINT at{2, 2};
  if (id != kFormBackground) {
    const RECT r = ChildRect(Control(window, id));
    at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  ClientToScreen(Window(window), &at);
  INPUT input{};
  input.type = INPUT_MOUSE;
  // Absolute positions run from 0 to 65535 across the primary screen.
  input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

bool VelquinApp::Close(const char* window) {
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0) return true;
  if (const HWND shown = Window(window)) PostMessageW(shown, WM_CLOSE, 0, 0);
  if (window != std::string(cases::kMain)) return true;
  return WaitForSingleObject(process_.hProcess, 5000) == WAIT_OBJECT_0;
}

// WM_GETTEXT is carried across processes by the system; a status bar answers with its first
// panel.
std::string VelquinApp::Text(const char* window, ControlId id) {
  const HWND control = Control(window, id);
  if (!control) return "(no control)";
  std::wstring text(static_cast<std::size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return Utf8(text);
}

bool VelquinApp::Visible(const char* window, ControlId id) {
  const auto line = cases::LineAt(window, id, Dpi(window));
  if (!line) return IsWindowVisible(Control(window, id));
  POINT at{line->x, line->y};
  ClientToScreen(Window(window), &at);
  const HDC screen = GetDC(nullptr);
  const COLORREF shown = GetPixel(screen, at.x, at.y);
  ReleaseDC(nullptr, screen);
  return shown == RGB((line->rgb >> 16) & 0xFF, (line->rgb >> 8) & 0xFF, line->rgb & 0xFF);
}

// An underline is the one row of the link's blue that runs the whole width of its text.
bool VelquinApp::Underlined(const char* window, ControlId id) {
  const ScreenImage image = CaptureScreen(Control(window, id));
  const auto blue = [&image](int x, int y) { return image.At(x, y) == RGB(0, 0, 255); };
  int left = image.width, right = -1;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      if (blue(x, y)) left = std::min(left, x), right = std::max(right, x);
    }
  }
  for (int y = 0; y < image.height && right > left; ++y) {
    int x = left;
    while (x <= right && blue(x, y)) ++x;
    if (x > right) return true;
  }
  return false;
}

ControlId VelquinApp::Focus(const char* window) {
  const HWND focus = Gui().hwndFocus;
  return focus && GetParent(focus) == Window(window) ? GetDlgCtrlID(focus) - kControlIdBase : kNoControl;
}

// What a screen reader asks; Windows and Wine take a box's name from the label just before
// it in z-order.
std::string VelquinApp::Name(const char* window, ControlId id) {
  // Spelled out: MinGW's import library's IID_IAccessible gave E_NOINTERFACE under Wine.
  static const IID kIAccessible = {
      0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
  IAccessible* accessible = nullptr;
  if (FAILED(AccessibleObjectFromWindow(Control(window, id), static_cast<DWORD>(OBJID_CLIENT), kIAccessible,
                                        reinterpret_cast<void**>(&accessible)))) {
    return "(no accessible object)";
  }
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  const std::string result =
      SUCCEEDED(accessible->get_accName(self, &name)) && name ? Utf8(name) : "(no name)";
  SysFreeString(name);
  accessible->Release();
  return result;
}

int VelquinApp::Windows(const char* caption) {
  return static_cast<int>(WindowsNamed(process_.dwProcessId, caption).size());
}

PixelRect VelquinApp::Rect(const char* window, ControlId id) {
  RECT r{};
  if (id == kFormBackground)
    GetClientRect(Window(window), &r);
  else
    r = ChildRect(Control(window, id));
  return {r.left, r.top, r.right, r.bottom};
}

// The DPI this run set up: a window drawn at any other fails its layout.
double VelquinApp::Dpi(const char*) {
  const char* dpi = std::getenv("VELQUIN_E2E_DPI");
  return dpi ? std::atof(dpi) : 96;
}

// A 24-bit BMP, once the window has painted itself afresh.
void VelquinApp::Screenshot(const char* window, const std::string& name) {
  if (artifacts_.empty()) return;
  RedrawWindow(Window(window), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(500);
  const ScreenImage image = CaptureScreen(Window(window));
  BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), image.width, image.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const auto size = static_cast<DWORD>(image.bits.size());
  const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  BITMAPFILEHEADER file{0x4D42, offset + size, 0, 0, offset};
  std::ofstream out(std::filesystem::path(artifacts_ + L"\\" + Wide(name) + L".bmp"), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(image.bits.data()), size);
}

}  // namespace velquin::e2e
