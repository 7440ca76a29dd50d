#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Ui.h"

namespace velquin::testing {

// A window that keeps what the forms set, as the user would see it, and lets a test act as
// the user: click, move the mouse, press the close button.
class FakeWindow final : public Window {
 public:
  FakeWindow(const FormDesign& made, FormEvents& events, std::vector<FakeWindow*>& open)
      : design(made), clientHeight(made.clientHeight), events_(events), open_(open) {
    for (const ControlDesign& control : made.controls) {
      controls[control.id] = {std::string(control.caption), false};
    }
    open_.push_back(this);
  }
  ~FakeWindow() override { std::erase(open_, this); }

  void Show() override {
    shown = true;
    ++activations;
  }
  void SetClientHeight(int twips) override { clientHeight = twips; }
  void SetVisible(ControlId id, bool visible) override { hidden[Known(id)] = !visible; }
  bool IsVisible(ControlId id) const override { return !hidden.count(id) || !hidden.at(id); }
  std::string Text(ControlId id) const override { return controls.at(id).text; }
  void SetText(ControlId id, std::string_view text) override { controls[Known(id)].text = std::string(text); }
  void SetUnderline(ControlId id, bool underline) override { controls[Known(id)].underline = underline; }
  void SetPanelText(int panel, std::string_view text) override { panels[panel] = std::string(text); }

  // The user's side.
  void Click(ControlId id) {
    if (IsVisible(id)) events_.OnClick(id);
  }
  void MoveMouseOver(ControlId id) { events_.OnMouseMove(id); }
  void PressCloseButton() { events_.OnCloseRequested(); }
  bool Underlined(ControlId id) const { return controls.at(id).underline; }

  struct Control {
    std::string text;
    bool underline;
  };
  const FormDesign& design;
  std::map<ControlId, Control> controls;
  std::map<ControlId, bool> hidden;
  std::map<int, std::string> panels;
  int clientHeight;
  bool shown = false;
  int activations = 0;

 private:
  ControlId Known(ControlId id) const {
    if (!controls.count(id)) throw std::out_of_range("no control " + std::to_string(id));
    return id;
  }
  FormEvents& events_;
  std::vector<FakeWindow*>& open_;
};

class FakeToolkit final : public Toolkit {
 public:
  std::unique_ptr<Window> Create(const FormDesign& design, FormEvents& events) override {
    if (failCreate) return nullptr;
    ++created;
    return std::make_unique<FakeWindow>(design, events, open);
  }
  void Quit() override { quit = true; }

  FakeWindow* Find(std::string_view caption) const {
    for (FakeWindow* window : open) {
      if (window->design.caption == caption) return window;
    }
    return nullptr;
  }
  int Count(std::string_view caption) const {
    int n = 0;
    for (FakeWindow* window : open) n += window->design.caption == caption;
    return n;
  }

  std::vector<FakeWindow*> open;
  int created = 0;
  bool quit = false;
  bool failCreate = false;  // as when the system cannot make a window
};

class FakeShell final : public Shell {
 public:
  void Open(std::string_view file, std::string_view directory) override {
    opened.push_back(std::string(file) + " in " + std::string(directory));
  }
  std::vector<std::string> opened;
};

}  // namespace velquin::testing
