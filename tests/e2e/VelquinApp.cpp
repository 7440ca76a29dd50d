// The real velquin.exe under Wine, driven from outside over the shared scenarios and save
// cases; run_e2e.sh runs it at 96 and 144 DPI.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "cases/Scenarios.h"
#include "platform/win32/Win32Fonts.h"
#include "platform/win32/Win32Languages.h"

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

// The real velquin.exe, started as its own process and driven from outside through its
// windows, as a user's tools would see them: the driver of the shared scenarios. Windows by
// caption, controls by tab index, texts in UTF-8.
class VelquinApp {
 public:
  // `game` is the Windows path of the game folder the registry entry names.
  VelquinApp(std::wstring exePath, std::wstring game, std::wstring artifacts)
      : exe_(std::move(exePath)), game_(std::move(game)), artifacts_(std::move(artifacts)) {}
  ~VelquinApp() {
    Hold(false);
    Stop();
  }

  void Store(const std::vector<unsigned char>& bytes) {
    std::ofstream out(std::filesystem::path(game_ + L"\\plyr.sav"), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

  std::vector<unsigned char> File() const {
    std::ifstream in(std::filesystem::path(game_ + L"\\plyr.sav"), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  // The game entry, as the 32-bit game's installer writes it.
  void PointGameAt(bool game) {
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

  // The driver itself holds plyr.sav open, shared with nobody, as the game does.
  bool CanHold() const { return true; }

  void Hold(bool hold) {
    if (hold && held_ == INVALID_HANDLE_VALUE) {
      held_ = CreateFileW((game_ + L"\\plyr.sav").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                          OPEN_EXISTING, 0, nullptr);
      EXPECT_NE(held_, INVALID_HANDLE_VALUE) << "could not hold plyr.sav, error " << GetLastError();
    } else if (!hold && held_ != INVALID_HANDLE_VALUE) {
      CloseHandle(held_);
      held_ = INVALID_HANDLE_VALUE;
    }
  }

  // False, with the reason in the log, when no main window came.
  bool Start() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + exe_ + L"\"";
    // Under Wine on a busy host, CreateProcessW has been seen to fail at once, before the program
    // ran at all; that is no fault of the program, so try again, and say so in the log.
    for (int attempt = 1; !CreateProcessW(exe_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                          nullptr, nullptr, &startup, &process_);
         ++attempt) {
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

  // Closes the program, or ends it if it does not close.
  void Stop() {
    if (!process_.hProcess) return;
    if (!Close(cases::kMain)) TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    process_ = {};
  }

  void Type(const char* window, ControlId id, const std::string& text) {
    SendMessageW(Control(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
  }

  void Press(const char* window, ControlId id) { SendMessageW(Control(window, id), BM_CLICK, 0, 0); }

  // Tab, Enter or Escape to the focus.
  void Key(const char*, const std::string& key) {
    const HWND focus = Gui().hwndFocus;
    const WPARAM code = key == "Tab" ? VK_TAB : key == "Enter" ? VK_RETURN : VK_ESCAPE;
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(code), MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(focus, WM_KEYDOWN, code, scan | 1);
    PostMessageW(focus, WM_KEYUP, code, scan | 0xC0000001);
    // Let the program's loop take both before the caller looks again.
    for (int i = 0; i < 40 && Gui().hwndFocus == focus; ++i) Sleep(25);
  }

  // The pointer moves there as the user's hand would move it.
  void Hover(const char* window, ControlId id) {
    POINT at{2, 2};
    if (id != kFormBackground) {
      const RECT r = ChildRect(Control(window, id));
      at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    ClientToScreen(Window(window), &at);
    SetCursorPos(at.x, at.y);
  }

  void Activate(const char* window) { SetForegroundWindow(Window(window)); }

  // The close button; for the main window, true once the program ended.
  bool Close(const char* window) {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0) return true;
    if (const HWND shown = Window(window)) PostMessageW(shown, WM_CLOSE, 0, 0);
    if (window != std::string(cases::kMain)) return true;
    return WaitForSingleObject(process_.hProcess, 5000) == WAIT_OBJECT_0;
  }

  // WM_GETTEXT is carried across processes by the system; a status bar answers with its first
  // panel.
  std::string Text(const char* window, ControlId id) {
    const HWND control = Control(window, id);
    if (!control) return "(no control)";
    std::wstring text(static_cast<std::size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return Utf8(text);
  }

  bool Visible(const char* window, ControlId id) {
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
  bool Underlined(const char* window, ControlId id) {
    const ScreenImage image = CaptureScreen(Control(window, id));
    const auto blue = [&image](int x, int y) { return image.At(x, y) == RGB(0, 0, 255); };
    int left = image.width, right = -1;
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x)
        if (blue(x, y)) left = std::min(left, x), right = std::max(right, x);
    for (int y = 0; y < image.height && right > left; ++y) {
      int x = left;
      while (x <= right && blue(x, y)) ++x;
      if (x > right) return true;
    }
    return false;
  }

  ControlId Focus(const char* window) {
    const HWND focus = Gui().hwndFocus;
    return focus && GetParent(focus) == Window(window) ? GetDlgCtrlID(focus) - kControlIdBase : kNoControl;
  }

  // What a screen reader asks; Windows and Wine take a box's name from the label just before
  // it in z-order.
  std::string Name(const char* window, ControlId id) {
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

  int Windows(const char* caption) {
    return static_cast<int>(WindowsNamed(process_.dwProcessId, caption).size());
  }

  bool Active(const char* window) { return Gui().hwndActive == Window(window); }

  // kFormBackground: the client area.
  PixelRect Rect(const char* window, ControlId id) {
    RECT r = id == kFormBackground ? RECT{} : ChildRect(Control(window, id));
    if (id == kFormBackground) GetClientRect(Window(window), &r);
    return {r.left, r.top, r.right, r.bottom};
  }

  // The DPI this run set up: a window drawn at any other fails its layout.
  double Dpi(const char*) {
    const char* dpi = std::getenv("VELQUIN_E2E_DPI");
    return dpi ? std::atof(dpi) : 96;
  }

  // A 24-bit BMP, once the window has painted itself afresh.
  void Screenshot(const char* window, const std::string& name) {
    if (artifacts_.empty()) return;
    RedrawWindow(Window(window), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(500);
    const ScreenImage image = CaptureScreen(Window(window));
    BITMAPINFOHEADER header{
        sizeof(BITMAPINFOHEADER), image.width, image.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const auto size = static_cast<DWORD>(image.bits.size());
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    BITMAPFILEHEADER file{0x4D42, offset + size, 0, 0, offset};
    std::ofstream out(std::filesystem::path(artifacts_ + L"\\" + Wide(name) + L".bmp"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(image.bits.data()), size);
  }

  void Wait() { Sleep(25); }
  // The program speaks the language this driver runs in: Wine gives a program the UI language
  // of its LANG, and a program it starts the same, so run_e2e.sh runs the driver once a language.
  bool UseLanguage(const std::string& language) {
    const Catalogue& running = Catalogue::For(PreferredLanguages());
    return &(language.empty() ? Catalogue::English() : Catalogue::For(std::vector{language})) == &running;
  }

 private:
  HWND Window(const char* caption) {
    const std::vector<HWND> found = WindowsNamed(process_.dwProcessId, caption);
    return found.empty() ? nullptr : found.front();
  }

  HWND Control(const char* window, ControlId id) { return GetDlgItem(Window(window), kControlIdBase + id); }

  GUITHREADINFO Gui() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(process_.dwThreadId, &info);
    return info;
  }

  std::wstring exe_, game_, artifacts_;
  PROCESS_INFORMATION process_{};
  HANDLE held_ = INVALID_HANDLE_VALUE;
};

std::wstring Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::wstring(value, value + std::strlen(value)) : std::wstring();
}

TEST(VelquinE2e, ScenariosAndEachSaveWritesExactlyItsBytesAndSaysSo) {
  if (Env("VELQUIN_EXE").empty() || Env("VELQUIN_E2E_GAME").empty())
    GTEST_SKIP() << "VELQUIN_EXE and VELQUIN_E2E_GAME not prepared";
  VelquinApp app{Env("VELQUIN_EXE"), Env("VELQUIN_E2E_GAME"), Env("VELQUIN_ARTIFACTS")};
  cases::RunScenarios(app);
  cases::RunSaveCases(app);
}

// What a text needs of its control, in pixels, drawn with the font the program makes for the
// control at this DPI: a button's text on one line, a label's wrapped within its width.
SIZE Needed(HDC dc, const ControlDesign& c, UINT dpi) {
  const LOGFONTW lf = LogFontOf(c.font, dpi, false);
  HFONT font = CreateFontIndirectW(&lf);
  HGDIOBJ old = SelectObject(dc, font);
  std::wstring text = Wide(c.caption);
  SIZE needed{};
  if (c.kind == ControlKind::CommandButton) {
    std::erase(text, L'&');
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &needed);
  } else {
    RECT r{0, 0, MulDiv(c.width, static_cast<int>(dpi), 1440), 0};
    DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_LEFT);
    needed = {r.right, r.bottom};
  }
  SelectObject(dc, old);
  DeleteObject(font);
  return needed;
}

// Every text of every language against its control at this run's DPI, measured with Wine's GDI
// and fonts.
TEST(VelquinE2e, EveryTextOfEveryLanguageFitsItsControl) {
  const char* dpiSetting = std::getenv("VELQUIN_E2E_DPI");
  const UINT dpi = dpiSetting ? static_cast<UINT>(std::atoi(dpiSetting)) : 96;
  HDC dc = CreateCompatibleDC(nullptr);
  int measured = 0;
  for (const Catalogue& words : Catalogue::All()) {
    for (const ControlDesign& c : cases::TextsToFit(words).controls) {
      const SIZE needed = Needed(dc, c, dpi);
      const int width = MulDiv(c.width, static_cast<int>(dpi), 1440),
                height = MulDiv(c.height, static_cast<int>(dpi), 1440);
      const std::string where = std::string(words.tag()) + " at " + std::to_string(dpi) + " DPI, " +
                                std::string(c.name) + ": " + std::string(c.caption) + " needs " +
                                std::to_string(needed.cx) + " x " + std::to_string(needed.cy) + " of " +
                                std::to_string(width) + " x " + std::to_string(height);
      ++measured;
      if (c.kind == ControlKind::CommandButton) {
        EXPECT_LE(needed.cx + MulDiv(6, static_cast<int>(dpi), 96), width) << where;
      } else {
        EXPECT_LE(needed.cx, width) << where;
        EXPECT_LE(needed.cy, height + 1) << where;
      }
    }
  }
  DeleteDC(dc);
  EXPECT_EQ(measured, 12 * 40);  // twelve languages, forty texts
}

// The windows in the language this run's LANG gives (VELQUIN_E2E_LANGUAGE names it): the rows
// of the language scenarios in it, and each window left as a screenshot.
TEST(VelquinE2e, TheWindowsInThePlayersLanguage) {
  if (Env("VELQUIN_EXE").empty() || Env("VELQUIN_E2E_LANGUAGE").empty())
    GTEST_SKIP() << "VELQUIN_EXE and VELQUIN_E2E_LANGUAGE not prepared";
  const Catalogue& words = Catalogue::For(PreferredLanguages());
  const char* tag = std::getenv("VELQUIN_E2E_LANGUAGE");
  ASSERT_EQ(words.tag(), tag) << "Wine did not give the driver the language of its LANG";
  VelquinApp app{Env("VELQUIN_EXE"), Env("VELQUIN_E2E_GAME"), Env("VELQUIN_ARTIFACTS")};
  const std::string help(words[TextId::frmHelp_Caption]), helpM(words[TextId::frmHelpM_Caption]);
  app.Store(cases::StoredPlayerFile());
  app.PointGameAt(true);
  ASSERT_TRUE(app.Start());
  app.Press(cases::kMain, frmMainDesign::cmdME);
  EXPECT_EQ(app.Text(cases::kMain, frmMainDesign::cmdME), words[TextId::cmdME_Open]);
  app.Screenshot(cases::kMain, std::string("language-") + tag + "-main");
  app.Press(cases::kMain, frmMainDesign::cmdHelp);
  app.Press(cases::kMain, frmMainDesign::cmdHelpM);
  EXPECT_EQ(app.Windows(help.c_str()), 1);
  EXPECT_EQ(app.Windows(helpM.c_str()), 1);
  app.Screenshot(help.c_str(), std::string("language-") + tag + "-help");
  app.Screenshot(helpM.c_str(), std::string("language-") + tag + "-help-macros");
  app.Stop();
  const int expected = std::string(tag) == "de" || std::string(tag) == "ru" ? 1 : 0;
  EXPECT_EQ(cases::RunLanguageScenarios(app), expected);
}

}  // namespace
}  // namespace velquin::e2e
