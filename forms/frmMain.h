#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "forms/Form.h"
#include "platform/Services.h"

namespace velquin {

// The main window: the name editor, the macro panel below it, and the status bar. Its text
// boxes are the only copy of the names and macros.
class frmMain final : public Form {
 public:
  frmMain(Toolkit& toolkit, Shell& shell, PlatformServices& os, Form& frmHelp, Form& frmHelpM,
          std::function<void()> onClosed);

  void OnClick(ControlId control) override;
  void OnMouseMove(ControlId) override {}

  // A message of the program's own in the first panel, where the saves report theirs. Only
  // once the window is shown.
  void ShowStatusMessage(std::string_view message) { window().SetPanelText(1, message); }

 private:
  void Form_Load() override;
  void Form_Unload() override;

  void cmdME_Click();
  void cmdDefault_Click();
  void cmdSave_Click();
  void cmdSaveM_Click();
  void cmdCharmap_Click();
  void cmdHelp_Click();
  void cmdHelpM_Click();

  void ShowMacroPanel(bool visible);

  Shell& shell_;
  PlatformServices& os_;
  Form& frmHelp_;
  Form& frmHelpM_;
  std::function<void()> onClosed_;
  std::string GamePath;
};

}  // namespace velquin
