#pragma once

#include "forms/HelpForm.h"
#include "forms/frmMain.h"
#include "forms/frmMainDesign.h"

namespace velquin {

// The program's three windows in one language, wired alike on every toolkit: the help windows
// close with the main window, and closing the main window ends the toolkit's event loop.
class ProgramWindows {
 public:
  // `os` null: the game is still looked for (frmMain::SearchEnded).
  ProgramWindows(Toolkit& toolkit, Shell& shell, std::shared_ptr<PlatformServices> os, const Catalogue& words)
      : mainDesign_(words),
        helpDesign_(HelpTexts::frmHelp(words), words),
        helpMDesign_(HelpTexts::frmHelpM(words), words),
        frmHelp_(toolkit, shell, helpDesign_),
        frmHelpM_(toolkit, shell, helpMDesign_),
        main(toolkit, shell, std::move(os), mainDesign_, words, frmHelp_, frmHelpM_,
             [&toolkit] { toolkit.Quit(); }) {}
  ProgramWindows(const ProgramWindows&) = delete;
  ProgramWindows& operator=(const ProgramWindows&) = delete;

 private:
  // Declared before the forms that point at them.
  const frmMainDesign::MainDesign mainDesign_;
  const HelpDesign helpDesign_;
  const HelpDesign helpMDesign_;
  HelpForm frmHelp_;
  HelpForm frmHelpM_;

 public:
  frmMain main;
};

}  // namespace velquin
