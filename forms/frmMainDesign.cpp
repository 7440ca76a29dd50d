#include "forms/frmMainDesign.h"

#include <array>

namespace velquin::frmMainDesign {

namespace {

constexpr std::array<std::string_view, kNameSlots> kCharacterLabels = {
    "Character 1", "Character 2", "Character 3", "Character 4", "Character 5"};
constexpr std::array<std::string_view, kMacroSlots> kHotkeyLabels = {
    "SHIFT + F1", "SHIFT + F2", "SHIFT + F3", "SHIFT + F4", "SHIFT + F5",
    "SHIFT + F6", "SHIFT + F7", "SHIFT + F8", "SHIFT + F9", "SHIFT + F10"};
// Each macro label sits a little lower than its text box, by an uneven step.
constexpr std::array<int, kMacroSlots> kMacroLabelTops = {3060, 3420, 3800, 4160, 4500,
                                                          4840, 5200, 5560, 5920, 6280};

constexpr std::uint32_t kGrey = 0x808080;
constexpr std::uint32_t kWhite = 0xFFFFFF;

using K = ControlKind;

constexpr auto kControls = [] {
  std::array<ControlDesign, 40> c{};
  std::size_t n = 0;
  for (int k = 0; k < kNameSlots; ++k) {
    c[n++] = {txtPlayer(k), "txtPlayer", k, K::TextBox, 1200, 240 + 360 * k, 3015, 285, "", kTextBoxFont};
  }
  c[n++] = {cmdHelp, "cmdHelp", -1, K::CommandButton, 120, 2040, 975, 315, "Help", kButtonFont};
  c[n++] = {cmdCharmap, "cmdCharmap", -1, K::CommandButton, 1200, 2040, 1455, 315, "Charmap", kButtonFont};
  c[n++] = {cmdSave, "cmdSave", -1, K::CommandButton, 2760, 2040, 1455, 315, "Save Names", kButtonFont};
  for (int k = 0; k < kNameSlots; ++k) {
    c[n] = {lblPlayer(k), "lblPlayer", k, K::Label, 120, 280 + 360 * k, 975, 255, kCharacterLabels[k]};
    c[n++].buddy = txtPlayer(k);
  }
  c[n++] = {StatusBar, "StatusBar", -1, K::StatusBar, 0, 7005, 4335, 255, ""};
  c[n++] = {cmdME, "cmdME", -1, K::CommandButton, 2400, 2400, 1815, 315, kMacroEditorClosed, kButtonFont};
  for (int m = 0; m < kMacroSlots; ++m) {
    c[n++] = {txtMsg(m), "txtMsg", m, K::TextBox, 1200, 3000 + 360 * m, 3015, 285, "", kTextBoxFont};
  }
  c[n++] = {cmdHelpM, "cmdHelpM", -1, K::CommandButton, 120, 6600, 975, 315, "Help", kButtonFont};
  c[n++] = {cmdDefault, "cmdDefault", -1, K::CommandButton, 1200, 6600, 1455, 315, "Default", kButtonFont};
  c[n++] = {cmdSaveM, "cmdSaveM", -1, K::CommandButton, 2760, 6600, 1455, 315, "Save Macros", kButtonFont};
  for (int m = 0; m < kMacroSlots; ++m) {
    c[n] = {lblMsg(m), "lblMsg", m, K::Label, 120, kMacroLabelTops[m], 975, 255, kHotkeyLabels[m]};
    c[n++].buddy = txtMsg(m);
  }
  // One etched separator: the grey line lies on top of the white one, and both run past the
  // right edge so they span the whole width.
  c[n++] = {wln, "wln", -1, K::Line, 0, 2880, 4440, 2880, "", kWindowFont, kWhite, 2};
  c[n++] = {gln, "gln", -1, K::Line, 0, 2880, 4440, 2880, "", kWindowFont, kGrey, 1};
  return c;
}();

constexpr std::array<StatusPanelDesign, 3> kPanels = {
    {{PanelKind::Text, 1840}, {PanelKind::Time, 1240}, {PanelKind::Date, 1240}}};

constexpr FormDesign kDesign{"Velquin for DF:TFD", 4335, kOpenClientHeight, kControls, kPanels};

}  // namespace

const FormDesign& Design() {
  return kDesign;
}

}  // namespace velquin::frmMainDesign
