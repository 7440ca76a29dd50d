#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>

#include "platform/Ui.h"
#include "platform/WindowRules.h"

namespace velquin {

// The common-controls status bar of a window: its panels by the design, the text panel the
// system writes to, and the time and date panels that keep themselves current.
class Win32StatusBar {
 public:
  Win32StatusBar(HWND bar, const ControlDesign& design, std::span<const StatusPanelDesign> panels)
      : bar_(bar), design_(design), panels_(panels), clock_(panels) {}

  HWND handle() const { return bar_; }
  const ControlDesign& design() const { return design_; }
  void SetParts(UINT dpi);                         // panel widths at a DPI
  void SetText(int panel, std::string_view text);  // panel 1 is the first
  void UpdateClock();                              // redraws only a changed time or date

 private:
  HWND bar_;
  const ControlDesign& design_;
  std::span<const StatusPanelDesign> panels_;
  ClockPanels<std::wstring> clock_;
};

}  // namespace velquin
