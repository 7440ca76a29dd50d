#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "forms/Catalogue.h"
#include "forms/Form.h"
#include "forms/SaveQueue.h"
#include "forms/UiChannel.h"
#include "forms/frmMainDesign.h"
#include "platform/Services.h"

namespace velquin {

// "Skipped <folder>: not answering", or how many; empty for none.
std::string NotAnsweringMessage(const std::vector<std::string>& folders, const Catalogue& words);

// The main window: the name editor, the macro panel below it, and the status bar. Its text
// boxes are the only copy of the names and macros. Saves run on a worker, one at a time in the
// order pressed; one that ends within kQuickSave reports as if it ran here.
class frmMain final : public Form {
 public:
  static constexpr std::chrono::milliseconds kQuickSave{100};

  // `os` may be null while the game is still looked for: the window comes at once and says
  // so, and SearchEnded brings the services.
  frmMain(Toolkit& toolkit, Shell& shell, std::shared_ptr<PlatformServices> os,
          const frmMainDesign::MainDesign& design, const Catalogue& words, Form& frmHelp, Form& frmHelpM,
          std::function<void()> onClosed);

  void OnClick(ControlId control) override;
  void OnMouseMove(ControlId) override {}

  // The search for the game ended: loads the names and macros into the boxes the player has
  // left empty, and says why nothing can be edited (`refusal`) and which folders did not answer.
  void SearchEnded(std::shared_ptr<PlatformServices> os, std::string_view refusal,
                   const std::vector<std::string>& notAnswering);

  // Another install was picked: every box takes its names and macros, and the first status
  // panel says why nothing can be edited in it (`refusal`), or nothing.
  void UseGame(std::shared_ptr<PlatformServices> os, std::string_view refusal);

  // Whether a box holds what was typed since the names and macros were loaded or saved.
  bool HasUnsavedEdits();

  // Once the window is gone: waits up to `bound` for the saves still running or queued; false
  // when one has not ended.
  bool FinishSaves(std::chrono::milliseconds bound) { return saves_.Finish(bound); }

 private:
  void Form_Load() override;
  void Form_Unload() override;

  void LoadFromGame(bool keepTyped);
  void Save(SaveQueue::Job job, TextId saving);
  void KeepAsSaved(std::size_t first, std::span<const std::string> texts);

  void cmdME_Click();
  void cmdDefault_Click();
  void cmdSave_Click();
  void cmdSaveM_Click();
  void cmdCharmap_Click();
  void cmdHelp_Click();
  void cmdHelpM_Click();

  void ShowMacroPanel(bool visible);

  Shell& shell_;
  const Catalogue& words_;
  std::shared_ptr<PlatformServices> os_;
  bool macroPanelOpen_ = false;
  Form& frmHelp_;
  Form& frmHelpM_;
  std::function<void()> onClosed_;
  std::string GamePath;
  // Why a save cannot write (no game found, a code page Velquin cannot convert): said on Save.
  std::string refusal_;
  // What the boxes held when loaded or last saved, names then macros.
  std::vector<std::string> unchanged_;
  // The queue's workers report through the channel; destroying the form closes it, and a
  // report that comes later is dropped.
  UiChannel channel_;
  SaveQueue saves_{channel_.sender()};
};

}  // namespace velquin
