#include "platform/win32/Win32Window.h"

#include <commctrl.h>

#include "platform/WindowRules.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Fonts.h"
#include "platform/win32/Win32StatusBar.h"

namespace velquin {

namespace {

// Fixed single border with a close button only.
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;
constexpr UINT_PTR kClockTimer = 1;

int ToWin32Id(ControlId id) {
  return kControlIdBase + id;
}

COLORREF ToColorRef(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD exStyle;
};

ControlClass ClassOf(const ControlDesign& control) {
  switch (control.kind) {
    case ControlKind::Label:
      // SS_NOTIFY makes the label take its own clicks and mouse moves: a move over any label
      // is not a move over the window's background.
      return {L"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0};
    case ControlKind::TextBox:
      return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::CommandButton:
      return {L"BUTTON",
              static_cast<DWORD>((control.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP), 0};
    case ControlKind::StatusBar:
      return {STATUSCLASSNAMEW, CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0};
    case ControlKind::Line:
      break;
  }
  return {nullptr, 0, 0};
}

}  // namespace

Win32Window::Win32Window(const FormDesign& design, FormEvents& events)
    : design_(design), events_(events), clientHeight_(design.clientHeight), lines_(design) {}

std::unique_ptr<Win32Window> Win32Window::Create(HINSTANCE instance, const wchar_t* windowClass,
                                                 const FormDesign& design, FormEvents& events) {
  std::unique_ptr<Win32Window> window(new Win32Window(design, events));
  // A window half made is destroyed with whatever of it exists: no null handle is used later.
  if (!window->Build(instance, windowClass)) return nullptr;
  return window;
}

bool Win32Window::Build(HINSTANCE instance, const wchar_t* windowClass) {
  CreateWindowExW(kFormExStyle, windowClass, Widen(design_.caption).c_str(), kFormStyle, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
  if (!hwnd_) return false;
  dpi_ = WindowDpi(hwnd_);
  if (!CreateControls(instance)) return false;
  if (statusBar_) SetTimer(hwnd_, kClockTimer, static_cast<UINT>(kClockPeriodMs), nullptr);
  return true;
}

Win32Window::~Win32Window() {
  if (!hwnd_) return;
  // From here on the window procedure no longer reaches this object.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  KillTimer(hwnd_, kClockTimer);
  DestroyWindow(hwnd_);
}

// Each control is made in its place and with its font from the start: moving and restyling 38
// controls afterwards costs start-up time. Z-order is creation order, which Tab walks.
bool Win32Window::CreateControls(HINSTANCE instance) {
  for (const ControlDesign* control : CreationOrder(design_)) {
    const ControlClass cls = ClassOf(*control);
    const RECT r = PixelRect(*control);
    const HWND child = CreateWindowExW(
        cls.exStyle, cls.name, Widen(control->caption).c_str(), WS_CHILD | WS_VISIBLE | cls.style, r.left,
        r.top, r.right - r.left, r.bottom - r.top, hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ToWin32Id(control->id))), instance, nullptr);
    if (!child) return false;
    controls_[control->id] = child;
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(Font(control->font, false)), FALSE);
    if (control->kind == ControlKind::TextBox) SendMessageW(child, EM_SETLIMITTEXT, 0, 0);  // no length limit
    if (control->kind == ControlKind::StatusBar) {
      statusBar_.emplace(child, *control, design_.panels);
      statusBar_->SetParts(dpi_);
    }
  }
  return true;
}

void Win32Window::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  // The old fonts stay alive until every control holds its new one.
  const auto oldFonts = std::move(fonts_);
  fonts_.clear();
  for (const ControlDesign& control : design_.controls) ApplyFont(control);
  PlaceControls();
  ResizeToClient();
}

int Win32Window::Px(int twips) const {
  return TwipsToPixels(twips, dpi_);
}

const ControlDesign* Win32Window::Design(ControlId id) const {
  for (const ControlDesign& control : design_.controls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

HFONT Win32Window::Font(const FontDesign& font, bool underline) {
  auto& handle = fonts_[{font.face, font.centipoints, font.bold, underline}];
  if (!handle.valid()) {
    const LOGFONTW lf = LogFontOf(font, dpi_, underline);
    handle.reset(CreateFontIndirectW(&lf));
  }
  return handle.get();
}

void Win32Window::ApplyFont(const ControlDesign& control) {
  const auto child = controls_.find(control.id);
  if (child == controls_.end()) return;
  const bool underline = underlined_.count(control.id) && underlined_[control.id];
  SendMessageW(child->second, WM_SETFONT, reinterpret_cast<WPARAM>(Font(control.font, underline)), TRUE);
}

RECT Win32Window::PixelRect(const ControlDesign& control) const {
  const velquin::PixelRect r = ControlRect(control, clientHeight_, dpi_);
  return {r.left, r.top, r.right, r.bottom};
}

void Win32Window::PlaceControls() {
  for (const ControlDesign& control : design_.controls) {
    const auto child = controls_.find(control.id);
    if (child == controls_.end()) continue;
    const RECT r = PixelRect(control);
    SetWindowPos(child->second, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (statusBar_) statusBar_->SetParts(dpi_);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Win32Window::ResizeToClient() {
  const SIZE outer = OuterSize({Px(design_.clientWidth), Px(clientHeight_)}, kFormStyle, kFormExStyle, dpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::Show() {
  // The window takes its size once, just before it is first seen, however often it was set.
  if (!shownOnce_) PlaceStatusBarAndResize();
  ShowWindow(hwnd_, shownOnce_ ? SW_SHOW : SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
  SetActiveWindow(hwnd_);
  if (!shownOnce_) FocusFirstControl();
  shownOnce_ = true;
}

ControlId Win32Window::KeyButton(bool ControlDesign::*role) const {
  return velquin::KeyButton(design_, role, [this](ControlId id) {
    const auto child = controls_.find(id);
    return child != controls_.end() && IsVisible(id) && IsWindowEnabled(child->second);
  });
}

void Win32Window::FocusFirstControl() {
  if (const HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE)) SetFocus(first);
}

void Win32Window::SetClientHeight(int twips) {
  clientHeight_ = twips;
  if (shownOnce_) PlaceStatusBarAndResize();
}

void Win32Window::PlaceStatusBarAndResize() {
  // Only the docked status bar moves; every other control keeps its place.
  if (statusBar_) {
    const RECT r = PixelRect(statusBar_->design());
    SetWindowPos(statusBar_->handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ResizeToClient();
}

void Win32Window::SetVisible(ControlId control, bool visible) {
  if (lines_.Has(control)) {
    lines_.SetShown(control, visible);
    InvalidateRect(hwnd_, nullptr, TRUE);
    return;
  }
  const auto child = controls_.find(control);
  if (child == controls_.end()) return;
  const LONG style = GetWindowLongW(child->second, GWL_STYLE);
  if (((style & WS_VISIBLE) != 0) == visible) return;
  // Before the window is first shown nothing of it is on screen, so the style bit alone
  // decides what the first paint draws; ShowWindow would cost a round of messages per control.
  if (!shownOnce_) {
    SetWindowLongW(child->second, GWL_STYLE, visible ? style | WS_VISIBLE : style & ~WS_VISIBLE);
    return;
  }
  const bool hadFocus = GetFocus() == child->second;
  ShowWindow(child->second, visible ? SW_SHOWNA : SW_HIDE);
  // Keystrokes must not go on into a control nobody sees.
  if (hadFocus && !visible) FocusFirstControl();
}

bool Win32Window::IsVisible(ControlId control) const {
  if (lines_.Has(control)) return lines_.Shows(control);
  const auto child = controls_.find(control);
  return child != controls_.end() && (GetWindowLongW(child->second, GWL_STYLE) & WS_VISIBLE) != 0;
}

std::string Win32Window::Text(ControlId control) const {
  const auto child = controls_.find(control);
  if (child == controls_.end()) return {};
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(child->second)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(child->second, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void Win32Window::SetText(ControlId control, std::string_view text) {
  if (const auto child = controls_.find(control); child != controls_.end()) {
    SetWindowTextW(child->second, Widen(text).c_str());
  }
}

void Win32Window::SetUnderline(ControlId control, bool underline) {
  underlined_[control] = underline;
  if (const ControlDesign* design = Design(control)) ApplyFont(*design);
}

void Win32Window::SetPanelText(int panel, std::string_view text) {
  if (statusBar_) statusBar_->SetText(panel, text);
}

void Win32Window::Paint() {
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(hwnd_, &ps);
  lines_.Draw(dpi_, [dc](const velquin::PixelRect& r, std::uint32_t rgb) {
    const RECT band{r.left, r.top, r.right, r.bottom};
    const HBRUSH brush = CreateSolidBrush(ToColorRef(rgb));
    FillRect(dc, &band, brush);
    DeleteObject(brush);
  });
  EndPaint(hwnd_, &ps);
}

void Win32Window::Command(int id, int code) {
  // Enter and Escape, as IsDialogMessage passes them on: the Default and Cancel buttons.
  if (id == IDOK || id == IDCANCEL) {
    const ControlId button = KeyButton(id == IDOK ? &ControlDesign::isDefault : &ControlDesign::isCancel);
    if (button != kNoControl) events_.OnClick(button);
    return;
  }
  const bool click = code == BN_CLICKED || code == STN_CLICKED;
  if (click && id >= kControlIdBase) events_.OnClick(id - kControlIdBase);
}

LRESULT CALLBACK Win32Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  // The handlers may destroy this window and its object: nothing touches `self` after them.
  return self ? self->Handle(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Win32Window::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      Command(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_MOUSEMOVE:
      events_.OnMouseMove(kFormBackground);
      return 0;
    case WM_SETCURSOR: {
      // A label takes its own mouse messages (SS_NOTIFY, for its clicks), but on every move
      // over it the system first asks the parent for the cursor: that is the label's move.
      const HWND over = reinterpret_cast<HWND>(wParam);
      if (HIWORD(lParam) == WM_MOUSEMOVE && over != hwnd_) {
        const ControlId id = GetDlgCtrlID(over) - kControlIdBase;
        const ControlDesign* control = Design(id);
        if (control && control->kind == ControlKind::Label) events_.OnMouseMove(id);
      }
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
    case WM_CLOSE:
      events_.OnCloseRequested();
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_TIMER:
      if (statusBar_) statusBar_->UpdateClock();
      return 0;
    case DM_GETDEFID: {
      const ControlId button = KeyButton(&ControlDesign::isDefault);
      return button == kNoControl ? 0 : MAKELRESULT(ToWin32Id(button), DC_HASDEFID);
    }
    case WM_CTLCOLORSTATIC: {
      const auto id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) - kControlIdBase;
      const ControlDesign* control = Design(id);
      const HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      if (control && control->color != kDefaultColor) SetTextColor(dc, ToColorRef(control->color));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) lastFocus_ = GetFocus();
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_SETFOCUS:
      if (lastFocus_ && IsChild(hwnd_, lastFocus_) && IsWindowVisible(lastFocus_)) {
        SetFocus(lastFocus_);
      } else {
        FocusFirstControl();
      }
      return 0;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyDpi(HIWORD(wParam));
      return 0;
    }
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

}  // namespace velquin
