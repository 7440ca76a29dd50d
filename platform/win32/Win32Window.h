#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>

#include "platform/Ui.h"
#include "platform/UniqueHandle.h"
#include "platform/WindowRules.h"
#include "platform/win32/Win32StatusBar.h"

namespace velquin {

// One form's window on the Win32 API. The object lives in GWLP_USERDATA; the window
// procedure only dispatches to the member functions.
class Win32Window final : public Window {
 public:
  // The window with all its controls, or nothing when the system could not make one of them.
  static std::unique_ptr<Win32Window> Create(HINSTANCE instance, const wchar_t* windowClass,
                                             const FormDesign& design, FormEvents& events);
  ~Win32Window() override;
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  void Show() override;
  void SetClientHeight(int twips) override;
  void SetVisible(ControlId control, bool visible) override;
  bool IsVisible(ControlId control) const override;
  std::string Text(ControlId control) const override;
  void SetText(ControlId control, std::string_view text) override;
  void SetUnderline(ControlId control, bool underline) override;
  void SetPanelText(int panel, std::string_view text) override;

  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  using FontHandle = UniqueHandle<HFONT, DeleteObject, nullptr>;

  Win32Window(const FormDesign& design, FormEvents& events);
  bool Build(HINSTANCE instance, const wchar_t* windowClass);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  bool CreateControls(HINSTANCE instance);
  void ApplyDpi(UINT dpi);
  void PlaceControls();
  RECT PixelRect(const ControlDesign& control) const;
  void ResizeToClient();
  void PlaceStatusBarAndResize();
  void ApplyFont(const ControlDesign& control);
  HFONT Font(const FontDesign& font, bool underline);
  void Paint();
  void Command(int id, int code);
  ControlId KeyButton(bool ControlDesign::*role) const;  // the one Enter or Escape presses
  void FocusFirstControl();

  const ControlDesign* Design(ControlId id) const;
  int Px(int twips) const;

  HWND hwnd_ = nullptr;
  const FormDesign& design_;
  FormEvents& events_;
  UINT dpi_ = 96;
  int clientHeight_;
  bool shownOnce_ = false;
  HWND lastFocus_ = nullptr;
  std::map<ControlId, HWND> controls_;
  std::map<ControlId, bool> underlined_;
  SeparatorLines lines_;
  std::map<std::tuple<std::string_view, int, bool, bool>, FontHandle> fonts_;
  std::optional<Win32StatusBar> statusBar_;
};

}  // namespace velquin
