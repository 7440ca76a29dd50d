#pragma once

#include "core/PlayerFileLayout.h"
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

inline constexpr std::string_view kMacroEditorClosed = "Macro Editor >>";
inline constexpr std::string_view kMacroEditorOpen = "Macro Editor <<";

// Client heights with the macro panel closed and open. The layout inside is designed for
// the open panel; the status bar follows the bottom edge.
inline constexpr int kClosedClientHeight = 3045;
inline constexpr int kOpenClientHeight = 7260;

const FormDesign& Design();

}  // namespace velquin::frmMainDesign
