#include "e2e/VelquinApp.h"

#include <commctrl.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace velquin::e2e {

namespace {

DWORD RowBytes(int width) {
  return (static_cast<DWORD>(width) * 3 + 3) & ~3u;  // rows are padded to whole DWORDs
}

constexpr int kControlIdBase = 1000;

struct Search {
  DWORD processId;
  std::wstring caption;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  wchar_t caption[256] = {};
  GetWindowTextW(window, caption, 256);
  if (search->caption == caption) search->found.push_back(window);
  return TRUE;
}

}  // namespace

VelquinApp::VelquinApp(const std::wstring& exePath) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  // Under Wine on a busy host, CreateProcessW has been seen to fail at once, before the program
  // ran at all; that is no fault of the program, so try again, and say so in the log.
  for (int attempt = 1;; ++attempt) {
    std::wstring commandLine = L"\"" + exePath + L"\"";
    if (CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process_)) {
      break;
    }
    const DWORD error = GetLastError();
    std::fprintf(stderr, "CreateProcessW failed, attempt %d, error %lu\n", attempt, error);
    if (attempt == 3) {
      failure_ = "CreateProcessW failed three times, last error " + std::to_string(error);
      return;
    }
    Sleep(500);
  }
  WaitForInputIdle(process_.hProcess, 10000);
  main_ = FindWindowNamed(L"Velquin for DF:TFD", 20000);
  if (!main_) {
    DWORD exitCode = 0;
    GetExitCodeProcess(process_.hProcess, &exitCode);
    failure_ = exitCode == STILL_ACTIVE ? "no main window within 20 s"
                                        : "the program ended with code " + std::to_string(exitCode) +
                                              " before showing its main window";
  }
}

VelquinApp::~VelquinApp() {
  if (!process_.hProcess) return;
  if (!CloseMain()) TerminateProcess(process_.hProcess, 1);
  WaitForSingleObject(process_.hProcess, 5000);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

HWND VelquinApp::FindWindowNamed(const std::wstring& caption, int ms) const {
  for (int waited = 0;; waited += 50) {
    Search search{process_.dwProcessId, caption, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.found.empty() || waited >= ms) return search.found.empty() ? nullptr : search.found.front();
    Sleep(50);
  }
}

int VelquinApp::CountWindowsNamed(const std::wstring& caption) const {
  Search search{process_.dwProcessId, caption, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return static_cast<int>(search.found.size());
}

HWND VelquinApp::Control(HWND window, int tabIndex) {
  return GetDlgItem(window, kControlIdBase + tabIndex);
}

std::wstring VelquinApp::Text(HWND control) {
  // WM_GETTEXT is carried across processes by the system.
  std::wstring text(static_cast<std::size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

void VelquinApp::SetText(HWND control, const std::wstring& text) {
  SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void VelquinApp::Click(HWND button) {
  SendMessageW(button, BM_CLICK, 0, 0);
}

std::wstring VelquinApp::StatusMessage() const {
  return Text(Control(main_, 13));
}

HWND VelquinApp::Focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(process_.dwThreadId, &info) ? info.hwndFocus : nullptr;
}

void VelquinApp::PressTab() const {
  const HWND focus = Focus();
  PostMessageW(focus, WM_KEYDOWN, VK_TAB, 0x000F0001);
  PostMessageW(focus, WM_KEYUP, VK_TAB, 0xC00F0001);
  // Let the program's loop take both before the caller looks again.
  for (int i = 0; i < 40 && Focus() == focus; ++i) Sleep(25);
}

bool VelquinApp::CloseMain(int ms) {
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0) return true;
  if (main_) PostMessageW(main_, WM_CLOSE, 0, 0);
  return WaitForSingleObject(process_.hProcess, static_cast<DWORD>(ms)) == WAIT_OBJECT_0;
}

RECT ClientRect(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return rect;
}

RECT ChildRect(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

UINT DpiOf(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return getDpi ? getDpi(window) : 96;
}

ScreenImage CaptureScreen(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  ScreenImage image{rect.right - rect.left, rect.bottom - rect.top, {}};
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
  if (first) image.bits.assign(first, first + RowBytes(image.width) * static_cast<DWORD>(image.height));
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return image;
}

bool SaveScreenshot(HWND window, const std::wstring& path) {
  // Painting is asynchronous: have the program draw everything, and give the X server a moment.
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(500);
  const ScreenImage image = CaptureScreen(window);
  BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), image.width, image.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const auto imageBytes = static_cast<DWORD>(image.bits.size());
  BITMAPFILEHEADER file{0x4D42,
                        static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + imageBytes),
                        0, 0, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))};
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(image.bits.data()), imageBytes);
  return !image.bits.empty() && static_cast<bool>(out);
}

void MovePointerTo(HWND window, POINT client) {
  ClientToScreen(window, &client);
  INPUT input{};
  input.type = INPUT_MOUSE;
  // Absolute positions run from 0 to 65535 across the primary screen.
  input.mi.dx = MulDiv(client.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(client.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

std::vector<unsigned char> ReadFileBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WriteFileBytes(const std::wstring& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace velquin::e2e
