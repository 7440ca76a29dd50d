#pragma once

#include <gtest/gtest.h>

#include "forms/HelpForm.h"
#include "forms/frmHelp.h"
#include "forms/frmHelpM.h"
#include "forms/frmMain.h"
#include "forms/frmMainDesign.h"
#include "platform/posix/Windows1252.h"
#include "support/MemoryFiles.h"
#include "unit/FakeRegistry.h"
#include "unit/FakeToolkit.h"

namespace velquin::testing {

// The three windows on a fake toolkit, over an in-memory player file in the game folder
// that the fake registry's game entry names.
class FormsFixture : public ::testing::Test {
 protected:
  FormsFixture() {
    SetGameFolder("C:\\Games\\DF");
    os_.registry = std::unique_ptr<Registry>(registry_);
    os_.files = std::unique_ptr<FileAccess>(files_);
    os_.codePage = std::make_unique<Windows1252>();
  }

  void SetGameFolder(const std::string& folder) {
    registry_->values["Path"] = {kRegString, folder + std::string(1, '\0')};
  }

  FakeWindow& StartMain() {
    main_.Show();
    return *toolkit_.Find("Velquin for DF:TFD");
  }

  FakeRegistry* registry_ = new FakeRegistry;
  MemoryFiles* files_ = new MemoryFiles;
  PlatformServices os_;
  FakeToolkit toolkit_;
  FakeShell shell_;
  HelpDesign helpDesign_{kFrmHelpTexts};
  HelpDesign helpMDesign_{kFrmHelpMTexts};
  HelpForm frmHelp_{toolkit_, shell_, helpDesign_};
  HelpForm frmHelpM_{toolkit_, shell_, helpMDesign_};
  bool mainClosed_ = false;
  frmMain main_{toolkit_, shell_, os_, frmHelp_, frmHelpM_, [this] { mainClosed_ = true; }};
};

}  // namespace velquin::testing
