#pragma once

#include <array>
#include <string>

#include "core/PlayerFileLayout.h"
#include "forms/Catalogue.h"
#include "platform/Ui.h"

namespace velquin::frmMainDesign {

// Controls by tab index.
constexpr ControlId txtPlayer(int k) {
  return k;
}
inline constexpr ControlId cmdHelp = 5;
inline constexpr ControlId cmdCharmap = 6;
inline constexpr ControlId cmdSave = 7;
constexpr ControlId lblPlayer(int k) {
  return 8 + k;
}
inline constexpr ControlId StatusBar = 13;
inline constexpr ControlId cmdME = 14;
constexpr ControlId txtMsg(int m) {
  return 15 + m;
}
inline constexpr ControlId cmdHelpM = 25;
inline constexpr ControlId cmdDefault = 26;
inline constexpr ControlId cmdSaveM = 27;
constexpr ControlId lblMsg(int m) {
  return 28 + m;
}
inline constexpr ControlId gln = kFirstLineId;
inline constexpr ControlId wln = kFirstLineId + 1;

// Client heights with the macro panel closed and open. The layout inside is designed for
// the open panel; the status bar follows the bottom edge.
inline constexpr int kClosedClientHeight = 3045;
inline constexpr int kOpenClientHeight = 7260;

// The main window as designed, its captions in one language.
class MainDesign {
 public:
  explicit MainDesign(const Catalogue& words);
  // `form` points at `controls`, and they at `labels`: a copy would point at the original's.
  MainDesign(const MainDesign&) = delete;
  MainDesign& operator=(const MainDesign&) = delete;

  std::array<std::string, kNameSlots + kMacroSlots> labels;  // "Character 1"..., "SHIFT + F1"...
  std::array<ControlDesign, 40> controls;
  FormDesign form;
};

}  // namespace velquin::frmMainDesign
