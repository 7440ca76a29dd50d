#include "forms/frmMain.h"

#include <algorithm>
#include <array>
#include <optional>

#include "ZOVURFolder/ZOVURFolder.h"
#include "core/DefaultMacros.h"
#include "core/Saves.h"
#include "core/StartupLoad.h"
#include "forms/frmMainDesign.h"

namespace velquin {

using namespace frmMainDesign;

std::string NotAnsweringMessage(const std::vector<std::string>& folders) {
  if (folders.empty()) return {};
  if (folders.size() == 1) return "Skipped " + folders.front() + ": not answering";
  return "Skipped " + std::to_string(folders.size()) + " folders: not answering";
}

frmMain::frmMain(Toolkit& toolkit, Shell& shell, std::shared_ptr<PlatformServices> os, Form& frmHelp,
                 Form& frmHelpM, std::function<void()> onClosed)
    : Form(toolkit, Design()),
      shell_(shell),
      os_(std::move(os)),
      frmHelp_(frmHelp),
      frmHelpM_(frmHelpM),
      onClosed_(std::move(onClosed)),
      channel_(toolkit) {}

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

  if (os_) {
    LoadFromGame(true);
  } else {
    window().SetPanelText(1, kLookingForGame);
  }
}

void frmMain::SearchEnded(std::shared_ptr<PlatformServices> os, std::string_view refusal,
                          const std::vector<std::string>& notAnswering) {
  os_ = std::move(os);
  refusal_ = refusal;
  if (!Loaded()) return;
  LoadFromGame(true);
  std::string status(refusal);
  const std::string skipped = NotAnsweringMessage(notAnswering);
  if (!status.empty() && !skipped.empty()) status += ' ';
  window().SetPanelText(1, status + skipped);
}

void frmMain::UseGame(std::shared_ptr<PlatformServices> os, std::string_view refusal) {
  os_ = std::move(os);
  refusal_ = refusal;
  if (!Loaded()) return;
  LoadFromGame(false);
  window().SetPanelText(1, refusal);
}

bool frmMain::HasUnsavedEdits() {
  if (!Loaded() || unchanged_.empty()) return false;
  for (int k = 0; k < kNameSlots; ++k)
    if (window().Text(txtPlayer(k)) != unchanged_[k]) return true;
  for (int m = 0; m < kMacroSlots; ++m)
    if (window().Text(txtMsg(m)) != unchanged_[kNameSlots + m]) return true;
  return false;
}

// With `keepTyped`, a box the player typed in while the game was looked for keeps what was typed.
void frmMain::LoadFromGame(bool keepTyped) {
  GamePath = LookUpGameFolder(*os_->registry, *os_->codePage);
  const NamesAndMacros loaded = LoadNamesAndMacros(GamePath, *os_->files, *os_->codePage);
  unchanged_.clear();
  const auto fill = [this, keepTyped](ControlId box, const std::string& text) {
    if (!keepTyped || window().Text(box).empty()) window().SetText(box, text);
    unchanged_.push_back(text);
  };
  for (int k = 0; k < kNameSlots; ++k) fill(txtPlayer(k), loaded.names[k]);
  for (int m = 0; m < kMacroSlots; ++m) fill(txtMsg(m), loaded.macros[m]);
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

namespace {

// A save as the worker runs it: the game looked up afresh, then its fields written; where
// nothing can be edited, the reason rather than a bare failure.
template <std::size_t Slots, class SaveFields>
SaveQueue::Job SaveJob(std::shared_ptr<PlatformServices> os, std::array<std::string, Slots> texts,
                       std::string refusal, SaveFields saveFields) {
  return [os = std::move(os), texts = std::move(texts), refusal = std::move(refusal), saveFields] {
    const std::string game = LookUpGameFolder(*os->registry, *os->codePage);
    const SaveOutcome result = saveFields(game, texts, *os->files, *os->codePage);
    return result.saved || refusal.empty() ? std::string(result.message) : refusal;
  };
}

}  // namespace

// The texts are taken now; the lookup and the save run on the worker.
void frmMain::cmdSave_Click() {
  std::array<std::string, kNameSlots> names;
  for (int k = 0; k < kNameSlots; ++k) names[k] = window().Text(txtPlayer(k));
  KeepAsSaved(0, names);
  Save(SaveJob(os_, names, refusal_, SaveNames), kSavingNames);
}

void frmMain::cmdSaveM_Click() {
  std::array<std::string, kMacroSlots> macros;
  for (int m = 0; m < kMacroSlots; ++m) macros[m] = window().Text(txtMsg(m));
  KeepAsSaved(kNameSlots, macros);
  Save(SaveJob(os_, macros, refusal_, SaveMacros), kSavingMacros);
}

// What a save takes counts as saved: picking another install then does not ask about it.
void frmMain::KeepAsSaved(std::size_t first, std::span<const std::string> texts) {
  if (!os_ || unchanged_.empty()) return;
  std::copy(texts.begin(), texts.end(), unchanged_.begin() + static_cast<std::ptrdiff_t>(first));
}

// Refused while the game is looked for: the boxes the player left empty are not loaded yet. A
// save that cannot write where nothing can be edited says why, not just that it failed.
void frmMain::Save(SaveQueue::Job job, std::string_view saving) {
  if (!os_) return window().SetPanelText(1, kStillLooking);
  const auto report = [this](const std::string& message) {
    if (Loaded()) window().SetPanelText(1, message);
  };
  const std::optional<std::string> message = saves_.Run(std::move(job), kQuickSave, report);
  window().SetPanelText(1, message ? *message : saving);
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
