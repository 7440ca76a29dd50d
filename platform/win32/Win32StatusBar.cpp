#include "platform/win32/Win32StatusBar.h"

#include <commctrl.h>

#include <vector>

#include "platform/win32/WideText.h"

namespace velquin {

namespace {

// The user's short date, or the time without seconds.
std::wstring Clock(PanelKind kind) {
  wchar_t text[128] = {};
  SYSTEMTIME now;
  GetLocalTime(&now);
  if (kind == PanelKind::Date) {
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, text, 128, nullptr);
  } else {
    GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, &now, nullptr, text, 128);
  }
  return text;
}

}  // namespace

void Win32StatusBar::SetParts(UINT dpi) {
  std::vector<int> edges = PanelEdges(panels_, dpi);
  SendMessageW(bar_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  clock_.Forget();  // the parts are new: fill them again
  UpdateClock();
}

void Win32StatusBar::SetText(int panel, std::string_view text) {
  SendMessageW(bar_, SB_SETTEXTW, static_cast<WPARAM>(panel - 1),
               reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void Win32StatusBar::UpdateClock() {
  clock_.Update(Clock, [this](std::size_t part, const std::wstring& text) {
    SendMessageW(bar_, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text.c_str()));
  });
}

}  // namespace velquin
