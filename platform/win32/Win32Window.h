#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>

#include "platform/Ui.h"

namespace velquin {

// One form's window on the Win32 API. The object lives in GWLP_USERDATA; the window
// procedure only dispatches to the member functions.
class Win32Window final : public Window {
 public:
  Win32Window(HINSTANCE instance, const wchar_t* windowClass, const FormDesign& design, FormEvents& events);
  ~Win32Window() override;

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
  struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
  };
  using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls(HINSTANCE instance);
  void ApplyDpi(UINT dpi);
  void PlaceControls();
  RECT PixelRect(const ControlDesign& control) const;
  void SetStatusParts(HWND statusBar);
  void ResizeToClient();
  void ApplyFont(const ControlDesign& control);
  HFONT Font(const FontDesign& font, bool underline);
  void UpdateClockPanels();
  void Paint();
  void Command(int id, int code);
  void FocusFirstControl();
  static LRESULT CALLBACK LabelProcedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

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
  std::map<ControlId, bool> lineVisible_;
  std::map<std::tuple<std::string_view, int, bool, bool>, FontHandle> fonts_;
  std::wstring timeText_, dateText_;
};

}  // namespace velquin
