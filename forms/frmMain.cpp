#include "forms/frmMain.h"

#include <algorithm>
#include <array>
#include <optional>

#include "ZOVURFolder/ZOVURFolder.h"
#include "core/DefaultMacros.h"
#include "core/Saves.h"
#include "core/StartupLoad.h"

namespace velquin {

using namespace frmMainDesign;

std::string NotAnsweringMessage(const std::vector<std::string>& folders, const Catalogue& words) {
  if (folders.empty()) return {};
  if (folders.size() == 1) return words.Format(TextId::SkippedOneNotAnswering, {folders.front()});
  return words.Format(TextId::SkippedFoldersNotAnswering, {std::to_string(folders.size())});
}

frmMain::frmMain(Toolkit& toolkit, Shell& shell, std::shared_ptr<PlatformServices> os,
                 const MainDesign& design, const Catalogue& words, Form& frmHelp, Form& frmHelpM,
                 std::function<void()> onClosed)
    : Form(toolkit, design.form),
      shell_(shell),
      words_(words),
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
  // The button's caption already says the panel opens, from the design.
  macroPanelOpen_ = false;
  window().SetClientHeight(kClosedClientHeight);
  ShowMacroPanel(false);

  if (os_) {
    LoadFromGame(true);
  } else {
    window().SetPanelText(1, words_[TextId::LookingForGame]);
  }
}

void frmMain::SearchEnded(std::shared_ptr<PlatformServices> os, std::string_view refusal,
                          const std::vector<std::string>& notAnswering) {
  os_ = std::move(os);
  refusal_ = refusal;
  if (!Loaded()) return;
  LoadFromGame(true);
  std::string status(refusal);
  const std::string skipped = NotAnsweringMessage(notAnswering, words_);
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

void frmMain::cmdME_Click() {
  const bool open = !macroPanelOpen_;
  macroPanelOpen_ = open;
  window().SetText(cmdME, words_[open ? TextId::cmdME_Open : TextId::cmdME_Closed]);
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
                       std::string refusal, SaveFields saveFields, std::string saved, std::string notSaved) {
  return [os = std::move(os), texts = std::move(texts), refusal = std::move(refusal), saveFields,
          saved = std::move(saved), notSaved = std::move(notSaved)] {
    const std::string game = LookUpGameFolder(*os->registry, *os->codePage);
    if (saveFields(game, texts, *os->files, *os->codePage).saved) return saved;
    return refusal.empty() ? notSaved : refusal;
  };
}

}  // namespace

// The texts are taken now; the lookup and the save run on the worker.
void frmMain::cmdSave_Click() {
  std::array<std::string, kNameSlots> names;
  for (int k = 0; k < kNameSlots; ++k) names[k] = window().Text(txtPlayer(k));
  KeepAsSaved(0, names);
  Save(SaveJob(os_, names, refusal_, SaveNames, std::string(words_[TextId::NamesSaved]),
               std::string(words_[TextId::NamesNotSaved])),
       TextId::SavingNames);
}

void frmMain::cmdSaveM_Click() {
  std::array<std::string, kMacroSlots> macros;
  for (int m = 0; m < kMacroSlots; ++m) macros[m] = window().Text(txtMsg(m));
  KeepAsSaved(kNameSlots, macros);
  Save(SaveJob(os_, macros, refusal_, SaveMacros, std::string(words_[TextId::MacrosSaved]),
               std::string(words_[TextId::MacrosNotSaved])),
       TextId::SavingMacros);
}

// What a save takes counts as saved: picking another install then does not ask about it.
void frmMain::KeepAsSaved(std::size_t first, std::span<const std::string> texts) {
  if (!os_ || unchanged_.empty()) return;
  std::copy(texts.begin(), texts.end(), unchanged_.begin() + static_cast<std::ptrdiff_t>(first));
}

// Refused while the game is looked for: the boxes the player left empty are not loaded yet. A
// save that cannot write where nothing can be edited says why, not just that it failed.
void frmMain::Save(SaveQueue::Job job, TextId saving) {
  if (!os_) return window().SetPanelText(1, words_[TextId::StillLooking]);
  const auto report = [this](const std::string& message) {
    if (Loaded()) window().SetPanelText(1, message);
  };
  const std::optional<std::string> message = saves_.Run(std::move(job), kQuickSave, report);
  window().SetPanelText(1, message ? *message : words_[saving]);
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
