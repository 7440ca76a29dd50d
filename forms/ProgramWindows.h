#pragma once

#include "forms/HelpForm.h"
#include "forms/frmHelp.h"
#include "forms/frmHelpM.h"
#include "forms/frmMain.h"

namespace velquin {

// The program's three windows, wired alike on every toolkit: the help windows close with the
// main window, and closing the main window ends the toolkit's event loop.
class ProgramWindows {
 public:
  // `os` null: the game is still looked for (frmMain::SearchEnded).
  ProgramWindows(Toolkit& toolkit, Shell& shell, std::shared_ptr<PlatformServices> os)
      : frmHelp_(toolkit, shell, helpDesign_),
        frmHelpM_(toolkit, shell, helpMDesign_),
        main(toolkit, shell, std::move(os), frmHelp_, frmHelpM_, [&toolkit] { toolkit.Quit(); }) {}
  ProgramWindows(const ProgramWindows&) = delete;
  ProgramWindows& operator=(const ProgramWindows&) = delete;

 private:
  // Declared before the forms that point at them.
  const HelpDesign helpDesign_{kFrmHelpTexts};
  const HelpDesign helpMDesign_{kFrmHelpMTexts};
  HelpForm frmHelp_;
  HelpForm frmHelpM_;

 public:
  frmMain main;
};

}  // namespace velquin
