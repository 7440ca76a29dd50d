#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/WindowRules.h"

namespace velquin::e2e {

// The real velquin.exe, started as its own process and driven from outside through its
// windows, as a user's tools would see them: the driver of the shared scenarios. Windows by
// caption, controls by tab index, texts in UTF-8.
class VelquinApp {
 public:
  // `game` is the Windows path of the game folder the registry entry names.
  VelquinApp(std::wstring exePath, std::wstring game, std::wstring artifacts);
  ~VelquinApp() {
    Hold(false);
    Stop();
  }

  void Store(const std::vector<unsigned char>& bytes);
  std::vector<unsigned char> File() const;
  void PointGameAt(bool game);  // else the registry has no game entry
  // The driver itself holds plyr.sav open, shared with nobody, as the game does.
  bool CanHold() const { return true; }
  void Hold(bool hold);
  bool Start();  // false, with the reason in the log, when no main window came
  void Stop();   // closes the program, or ends it if it does not close

  void Type(const char* window, ControlId id, const std::string& text);
  void Press(const char* window, ControlId id) { SendMessageW(Control(window, id), BM_CLICK, 0, 0); }
  void Key(const char* window, const std::string& key);  // Tab, Enter or Escape to the focus
  void Hover(const char* window, ControlId id);          // kFormBackground: a bare corner
  void Activate(const char* window) { SetForegroundWindow(Window(window)); }
  bool Close(const char* window);  // the close button; for the main window, true once it ended

  std::string Text(const char* window, ControlId id);
  bool Visible(const char* window, ControlId id);
  bool Underlined(const char* window, ControlId id);
  ControlId Focus(const char* window);
  std::string Name(const char* window, ControlId id);
  int Windows(const char* caption);
  bool Active(const char* window) { return Gui().hwndActive == Window(window); }
  PixelRect Rect(const char* window, ControlId id);  // kFormBackground: the client area
  double Dpi(const char* window);
  void Screenshot(const char* window, const std::string& name);
  void Wait() { Sleep(25); }

 private:
  HWND Window(const char* caption);
  HWND Control(const char* window, ControlId id) { return GetDlgItem(Window(window), kControlIdBase + id); }
  GUITHREADINFO Gui() const;

  std::wstring exe_, game_, artifacts_;
  PROCESS_INFORMATION process_{};
  HANDLE held_ = INVALID_HANDLE_VALUE;
};

}  // namespace velquin::e2e
