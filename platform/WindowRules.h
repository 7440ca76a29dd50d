#pragma once

// How a design becomes a window, the same on every toolkit: each toolkit only applies these.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <utility>
#include <vector>

#include "platform/Ui.h"

namespace velquin {

inline constexpr int kTwipsPerInch = 1440;

// Twips to pixels at a DPI, rounded half away from zero as MulDiv rounds: the one place where
// layout numbers are scaled.
inline int TwipsToPixels(int twips, double dpi) {
  return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

struct PixelRect {
  int left, top, right, bottom;
};

// Where a control lies, from its edges so that neighbours meet as designed. The status bar is
// docked to the bottom edge: it follows the client height, and nothing else moves.
inline PixelRect ControlRect(const ControlDesign& control, int clientHeight, double dpi) {
  const int top = control.kind == ControlKind::StatusBar ? clientHeight - control.height : control.top;
  return {TwipsToPixels(control.left, dpi), TwipsToPixels(top, dpi),
          TwipsToPixels(control.left + control.width, dpi), TwipsToPixels(top + control.height, dpi)};
}

// The right edge of each status bar panel: where the widths so far add up to.
inline std::vector<int> PanelEdges(std::span<const StatusPanelDesign> panels, double dpi) {
  std::vector<int> edges;
  int edge = 0;
  for (const StatusPanelDesign& panel : panels) edges.push_back(TwipsToPixels(edge += panel.width, dpi));
  return edges;
}

// A separator line, drawn on the window itself in design order so that a later line lies over
// an earlier one. Ours are horizontal: a band of the line's width (pixels at 96 DPI) below its
// Y. A line's design holds x2 and y2 where other controls hold width and height.
inline PixelRect LineBand(const ControlDesign& line, double dpi) {
  const int top = TwipsToPixels(line.top, dpi);
  return {TwipsToPixels(line.left, dpi), top, TwipsToPixels(line.width, dpi),
          top + TwipsToPixels(line.lineWidthPixels * kTwipsPerInch / 96, dpi)};
}

// The separator lines of a window and whether each shows: every line shows until the form
// hides it. They are drawn in design order, so that a later line lies over an earlier one.
class SeparatorLines {
 public:
  explicit SeparatorLines(const FormDesign& design) : design_(design) {
    for (const ControlDesign& control : design.controls) {
      if (control.kind == ControlKind::Line) shown_[control.id] = true;
    }
  }
  bool Has(ControlId id) const { return shown_.count(id) != 0; }
  bool Shows(ControlId id) const {
    const auto line = shown_.find(id);
    return line != shown_.end() && line->second;
  }
  void SetShown(ControlId id, bool shown) {
    if (Has(id)) shown_[id] = shown;
  }
  // `fill(band, rgb)` for each line that shows, in drawing order.
  template <class Fill>
  void Draw(double dpi, Fill fill) const {
    for (const ControlDesign& line : design_.controls) {
      if (line.kind == ControlKind::Line && Shows(line.id)) fill(LineBand(line, dpi), line.color);
    }
  }

 private:
  const FormDesign& design_;
  std::map<ControlId, bool> shown_;
};

// How often the time and date panels read the clock.
inline constexpr int kClockPeriodMs = 1000;

// The time and date panels of a status bar, kept current: on each tick a panel is set, and so
// redrawn, only when its text has changed. `Text` is the toolkit's string; an empty one is what
// a panel shows before it is first set.
template <class Text>
class ClockPanels {
 public:
  explicit ClockPanels(std::span<const StatusPanelDesign> panels) : panels_(panels), shown_(panels.size()) {}

  // The panels were made anew: the next update sets each clock panel again.
  void Forget() { std::fill(shown_.begin(), shown_.end(), Text()); }

  // `read(kind)` is the clock's text for a Time or Date panel; `set(index, text)` puts a text
  // into the panel at that index (0 is the first).
  template <class Read, class Set>
  void Update(Read read, Set set) {
    for (std::size_t i = 0; i < panels_.size(); ++i) {
      if (panels_[i].kind == PanelKind::Text) continue;
      Text now = read(panels_[i].kind);
      if (now == shown_[i]) continue;
      shown_[i] = std::move(now);
      set(i, shown_[i]);
    }
  }

 private:
  std::span<const StatusPanelDesign> panels_;
  std::vector<Text> shown_;
};

// The order controls are made in: tab order, which is the order Tab walks, except that each
// label comes directly before the box it names, because screen readers name a box by the
// control just before it. Labels take no focus, so the Tab walk stays as designed.
inline std::vector<const ControlDesign*> CreationOrder(const FormDesign& design) {
  std::map<ControlId, const ControlDesign*> byTab;
  std::map<ControlId, const ControlDesign*> labelOf;
  for (const ControlDesign& control : design.controls) {
    if (control.kind == ControlKind::Line) continue;
    if (control.buddy != kNoControl)
      labelOf[control.buddy] = &control;
    else
      byTab[control.id] = &control;
  }
  std::vector<const ControlDesign*> ordered;
  for (const auto& [id, control] : byTab) {
    if (const auto label = labelOf.find(id); label != labelOf.end()) ordered.push_back(label->second);
    ordered.push_back(control);
  }
  return ordered;
}

// The button that Enter (`isDefault`) or Escape (`isCancel`) presses: the first one in tab
// order that the user could also press with the mouse, so never a hidden or disabled one.
// kNoControl when there is none.
inline ControlId KeyButton(const FormDesign& design, bool ControlDesign::*role,
                           const std::function<bool(ControlId)>& pressable) {
  ControlId found = kNoControl;
  for (const ControlDesign& control : design.controls) {
    const bool earlier = found == kNoControl || control.id < found;
    if (control.kind == ControlKind::CommandButton && control.*role && earlier && pressable(control.id))
      found = control.id;
  }
  return found;
}

}  // namespace velquin
