#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace velquin {

// A control's identity within its window: its tab index. Lines take no tab and have ids
// from kFirstLineId on. Win32 control ids are kControlIdBase + this.
using ControlId = int;
inline constexpr ControlId kFirstLineId = 100;
inline constexpr ControlId kFormBackground = -1;  // mouse events over the bare window
inline constexpr ControlId kNoControl = -2;
inline constexpr int kControlIdBase = 1000;

enum class ControlKind { Label, TextBox, CommandButton, Line, StatusBar };

struct FontDesign {
  std::string_view face;
  int centipoints;  // 825 for 8.25 points
  bool bold = false;
};

inline constexpr FontDesign kWindowFont{"MS Sans Serif", 825, false};
inline constexpr FontDesign kButtonFont{"MS Sans Serif", 825, true};
inline constexpr FontDesign kTextBoxFont{"Arial", 825, false};

inline constexpr std::uint32_t kDefaultColor = 0xFFFFFFFF;  // the system's colour for the kind

// One control as designed. Geometry in twips from the client area's top-left corner;
// for lines: x1, y1, x2, y2.
struct ControlDesign {
  ControlId id;
  std::string_view name;
  int index;  // within its control array, -1 when it is none
  ControlKind kind;
  int left, top, width, height;
  std::string_view caption;
  FontDesign font = kWindowFont;
  std::uint32_t color = kDefaultColor;  // 0xRRGGBB: label text, line
  int lineWidthPixels = 1;
  bool isDefault = false;        // the button Enter presses
  bool isCancel = false;         // the button Escape presses
  ControlId buddy = kNoControl;  // for a label: the box it names for screen readers
};

enum class PanelKind { Text, Time, Date };

struct StatusPanelDesign {
  PanelKind kind;
  int width;  // twips
};

struct FormDesign {
  std::string_view caption;
  int clientWidth, clientHeight;  // twips
  std::span<const ControlDesign> controls;
  std::span<const StatusPanelDesign> panels;  // of the StatusBar control, when there is one
};

// What a window tells its form.
class FormEvents {
 public:
  virtual ~FormEvents() = default;
  virtual void OnClick(ControlId control) = 0;
  virtual void OnMouseMove(ControlId control) = 0;  // kFormBackground for the bare window
  virtual void OnCloseRequested() = 0;              // the title bar's close button
};

// A window made from its design, with every control in place and hidden until Show.
// Destroying it destroys the window and its controls.
class Window {
 public:
  virtual ~Window() = default;

  virtual void Show() = 0;  // shows the window modeless and makes it the active window
  virtual void SetClientHeight(int twips) = 0;
  virtual void SetVisible(ControlId control, bool visible) = 0;
  virtual bool IsVisible(ControlId control) const = 0;
  // Caption of a button or label, text of a text box.
  virtual std::string Text(ControlId control) const = 0;
  virtual void SetText(ControlId control, std::string_view text) = 0;
  virtual void SetUnderline(ControlId control, bool underline) = 0;
  virtual void SetPanelText(int panel, std::string_view text) = 0;  // panel 1 is the first
};

class Toolkit {
 public:
  virtual ~Toolkit() = default;
  // Nothing when the system could not make the window or one of its controls.
  virtual std::unique_ptr<Window> Create(const FormDesign& design, FormEvents& events) = 0;
  virtual void Quit() = 0;  // ends the event loop once the current event is handled
  // Runs `task` on the user-interface thread, between events, in the order posted. Safe from
  // any thread while the toolkit exists; a task still waiting when the loop ends never runs.
  virtual void Post(std::function<void()> task) = 0;
};

// The shell's default action on a file or web address, in a normal window; no waiting and
// no report of failure.
class Shell {
 public:
  virtual ~Shell() = default;
  virtual void Open(std::string_view file, std::string_view workingDirectory) = 0;
};

}  // namespace velquin
