#include "forms/frmMain.h"

#include <array>

#include "ZOVURFolder/ZOVURFolder.h"
#include "core/DefaultMacros.h"
#include "core/Saves.h"
#include "core/StartupLoad.h"
#include "forms/frmMainDesign.h"

namespace velquin {

using namespace frmMainDesign;

frmMain::frmMain(Toolkit& toolkit, Shell& shell, PlatformServices& os, Form& frmHelp, Form& frmHelpM,
                 std::function<void()> onClosed)
    : Form(toolkit, Design()),
      shell_(shell),
      os_(os),
      frmHelp_(frmHelp),
      frmHelpM_(frmHelpM),
      onClosed_(std::move(onClosed)) {}

void frmMain::OnClick(ControlId control) {
  switch (control) {
    case cmdME:
      return cmdME_Click();
    case cmdDefault:
      return cmdDefault_Click();
    case cmdSave:
      return cmdSave_Click();
    case cmdSaveM:
      return cmdSaveM_Click();
    case cmdCharmap:
      return cmdCharmap_Click();
    case cmdHelp:
      return cmdHelp_Click();
    case cmdHelpM:
      return cmdHelpM_Click();
    default:
      return;
  }
}

void frmMain::Form_Load() {
  // The caption already reads "Macro Editor >>" from the design.
  window().SetClientHeight(kClosedClientHeight);
  ShowMacroPanel(false);

  GamePath = LookUpGameFolder(*os_.registry, *os_.codePage);
  const NamesAndMacros loaded = LoadNamesAndMacros(GamePath, *os_.files, *os_.codePage);
  for (int k = 0; k < kNameSlots; ++k) window().SetText(txtPlayer(k), loaded.names[k]);
  for (int m = 0; m < kMacroSlots; ++m) window().SetText(txtMsg(m), loaded.macros[m]);
}

void frmMain::Form_Unload() {
  frmHelp_.Unload();
  frmHelpM_.Unload();
  if (onClosed_) onClosed_();
}

// The caption is the only record of whether the panel is open.
void frmMain::cmdME_Click() {
  const bool open = window().Text(cmdME) == kMacroEditorClosed;
  window().SetText(cmdME, open ? kMacroEditorOpen : kMacroEditorClosed);
  window().SetClientHeight(open ? kOpenClientHeight : kClosedClientHeight);
  ShowMacroPanel(open);
}

void frmMain::ShowMacroPanel(bool visible) {
  window().SetVisible(wln, visible);
  window().SetVisible(gln, visible);
  for (int m = 0; m < kMacroSlots; ++m) window().SetVisible(lblMsg(m), visible);
  for (int m = 0; m < kMacroSlots; ++m) window().SetVisible(txtMsg(m), visible);
  window().SetVisible(cmdHelpM, visible);
  window().SetVisible(cmdDefault, visible);
  window().SetVisible(cmdSaveM, visible);
}

void frmMain::cmdDefault_Click() {
  for (int m = 0; m < kMacroSlots; ++m) window().SetText(txtMsg(m), kDefaultMacros[m]);
}

void frmMain::cmdSave_Click() {
  GamePath = LookUpGameFolder(*os_.registry, *os_.codePage);
  std::array<std::string, kNameSlots> names;
  for (int k = 0; k < kNameSlots; ++k) names[k] = window().Text(txtPlayer(k));
  window().SetPanelText(1, SaveNames(GamePath, names, *os_.files, *os_.codePage).message);
}

void frmMain::cmdSaveM_Click() {
  GamePath = LookUpGameFolder(*os_.registry, *os_.codePage);
  std::array<std::string, kMacroSlots> macros;
  for (int m = 0; m < kMacroSlots; ++m) macros[m] = window().Text(txtMsg(m));
  window().SetPanelText(1, SaveMacros(GamePath, macros, *os_.files, *os_.codePage).message);
}

void frmMain::cmdCharmap_Click() {
  shell_.Open("charmap.exe", "C:\\");
}

// A help window the system cannot make leaves the main window as it is.
void frmMain::cmdHelp_Click() {
  (void)frmHelp_.Show();
}

void frmMain::cmdHelpM_Click() {
  (void)frmHelpM_.Show();
}

}  // namespace velquin
