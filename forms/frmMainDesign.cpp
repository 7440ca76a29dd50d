#include "forms/frmMainDesign.h"

#include <array>

namespace velquin::frmMainDesign {

namespace {

// Each macro label sits a little lower than its text box, by an uneven step.
constexpr std::array<int, kMacroSlots> kMacroLabelTops = {3060, 3420, 3800, 4160, 4500,
                                                          4840, 5200, 5560, 5920, 6280};

constexpr std::uint32_t kGrey = 0x808080;
constexpr std::uint32_t kWhite = 0xFFFFFF;

constexpr std::array<StatusPanelDesign, 3> kPanels = {
    {{PanelKind::Text, 1840}, {PanelKind::Time, 1240}, {PanelKind::Date, 1240}}};

}  // namespace

MainDesign::MainDesign(const Catalogue& words) {
  using K = ControlKind;
  using T = TextId;
  for (int k = 0; k < kNameSlots; ++k) labels[k] = words.Format(T::lblPlayer, {std::to_string(k + 1)});
  for (int m = 0; m < kMacroSlots; ++m)
    labels[kNameSlots + m] = words.Format(T::lblMsg, {std::to_string(m + 1)});
  auto& c = controls;
  std::size_t n = 0;
  for (int k = 0; k < kNameSlots; ++k) {
    c[n++] = {txtPlayer(k), "txtPlayer", k, K::TextBox, 1200, 240 + 360 * k, 3015, 285, "", kTextBoxFont};
  }
  c[n++] = {cmdHelp, "cmdHelp", -1, K::CommandButton, 120, 2040, 975, 315, words[T::cmdHelp], kButtonFont};
  c[n++] = {cmdCharmap, "cmdCharmap", -1,  K::CommandButton,     1200,
            2040,       1455,         315, words[T::cmdCharmap], kButtonFont};
  c[n++] = {cmdSave, "cmdSave", -1, K::CommandButton, 2760, 2040, 1455, 315, words[T::cmdSave], kButtonFont};
  for (int k = 0; k < kNameSlots; ++k) {
    c[n] = {lblPlayer(k), "lblPlayer", k, K::Label, 120, 280 + 360 * k, 975, 255, labels[k]};
    c[n++].buddy = txtPlayer(k);
  }
  c[n++] = {StatusBar, "StatusBar", -1, K::StatusBar, 0, 7005, 4335, 255, ""};
  c[n++] = {cmdME, "cmdME", -1, K::CommandButton, 2400, 2400, 1815, 315, words[T::cmdME_Closed], kButtonFont};
  for (int m = 0; m < kMacroSlots; ++m) {
    c[n++] = {txtMsg(m), "txtMsg", m, K::TextBox, 1200, 3000 + 360 * m, 3015, 285, "", kTextBoxFont};
  }
  c[n++] = {cmdHelpM, "cmdHelpM", -1, K::CommandButton, 120, 6600, 975, 315, words[T::cmdHelpM], kButtonFont};
  c[n++] = {cmdDefault, "cmdDefault", -1,  K::CommandButton,     1200,
            6600,       1455,         315, words[T::cmdDefault], kButtonFont};
  c[n++] = {cmdSaveM, "cmdSaveM", -1,  K::CommandButton,   2760,
            6600,     1455,       315, words[T::cmdSaveM], kButtonFont};
  for (int m = 0; m < kMacroSlots; ++m) {
    c[n] = {lblMsg(m), "lblMsg", m, K::Label, 120, kMacroLabelTops[m], 975, 255, labels[kNameSlots + m]};
    c[n++].buddy = txtMsg(m);
  }
  // One etched separator: the grey line lies on top of the white one, and both run past the
  // right edge so they span the whole width.
  c[n++] = {wln, "wln", -1, K::Line, 0, 2880, 4440, 2880, "", kWindowFont, kWhite, 2};
  c[n++] = {gln, "gln", -1, K::Line, 0, 2880, 4440, 2880, "", kWindowFont, kGrey, 1};
  form = {words[T::frmMain_Caption], 4335, kOpenClientHeight, controls, kPanels};
}

}  // namespace velquin::frmMainDesign
