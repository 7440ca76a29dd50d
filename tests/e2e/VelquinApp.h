#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace velquin::e2e {

// The real velquin.exe, started as its own process and driven from outside through its
// windows, as a user's tools would see them.
class VelquinApp {
 public:
  explicit VelquinApp(const std::wstring& exePath);
  ~VelquinApp();  // closes the program, or ends it if it does not close

  bool started() const { return main_ != nullptr; }
  const std::string& whyNotStarted() const { return failure_; }
  HWND main() const { return main_; }
  // A top-level window of the program with this caption, or null; waits up to `ms`.
  HWND FindWindowNamed(const std::wstring& caption, int ms = 3000) const;
  int CountWindowsNamed(const std::wstring& caption) const;

  static HWND Control(HWND window, int tabIndex);
  static std::wstring Text(HWND control);
  static void SetText(HWND control, const std::wstring& text);
  static void Click(HWND button);
  // The status message: the text of the status bar's first panel.
  std::wstring StatusMessage() const;
  // The control that has the keyboard focus in the program.
  HWND Focus() const;
  void PressTab() const;

  // Asks the main window to close, as its close button does; true once the program ended.
  bool CloseMain(int ms = 5000);
  DWORD threadId() const { return process_.dwThreadId; }

 private:
  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
  std::string failure_;
};

// Client rectangle and a child's rectangle in its parent's client coordinates.
RECT ClientRect(HWND window);
RECT ChildRect(HWND child);
UINT DpiOf(HWND window);

// What the screen shows of a window (frame included): 24-bit rows, bottom row first.
struct ScreenImage {
  int width = 0, height = 0;
  std::vector<unsigned char> bits;
  bool operator==(const ScreenImage&) const = default;
};
ScreenImage CaptureScreen(HWND window);
// Writes it to a 24-bit BMP file, once the window has painted itself afresh.
bool SaveScreenshot(HWND window, const std::wstring& path);
// The mouse pointer moves there as the user's hand would move it.
void MovePointerTo(HWND window, POINT client);

std::vector<unsigned char> ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::vector<unsigned char>& bytes);

}  // namespace velquin::e2e
