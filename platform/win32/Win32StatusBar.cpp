#include "platform/win32/Win32StatusBar.h"

#include <commctrl.h>

#include <vector>

#include "platform/WindowRules.h"
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
  timeText_.clear();  // the parts are new: fill them again
  dateText_.clear();
  UpdateClock();
}

void Win32StatusBar::SetText(int panel, std::string_view text) {
  SendMessageW(bar_, SB_SETTEXTW, static_cast<WPARAM>(panel - 1),
               reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void Win32StatusBar::UpdateClock() {
  for (std::size_t part = 0; part < panels_.size(); ++part) {
    const PanelKind kind = panels_[part].kind;
    if (kind == PanelKind::Text) continue;
    std::wstring& shown = kind == PanelKind::Time ? timeText_ : dateText_;
    std::wstring now = Clock(kind);
    if (now == shown) continue;
    shown = std::move(now);
    SendMessageW(bar_, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(shown.c_str()));
  }
}

}  // namespace velquin
