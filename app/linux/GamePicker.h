#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/linux/GameChoice.h"
#include "forms/frmMain.h"

class QComboBox;
class QLabel;
class QWidget;

namespace velquin {

// The Linux program's own strip of the main window: the install in use, named by its launcher
// and folder; every install found, to pick from by keyboard; a folder to choose with the
// desktop's own dialog when the search found none or not the one wanted; where the search
// looked. A pick loads that install's names and macros (after asking, when the player has typed
// something unsaved) and is remembered for the next start.
class GamePicker {
 public:
  GamePicker(frmMain& main, Environment environment, const Catalogue& words);

  // For QtToolkit::AddStrip: the strip, a child of the main window's widget.
  QWidget* MakeStrip(QWidget& form);

  // The search ended: lists its installs and names the one in use.
  void SearchEnded(const GameChoice& choice);

  // The folder the player chose: used when it holds the game, else a message says what it
  // lacks. False when it was not used.
  bool OpenFolder(const std::filesystem::path& folder);

 private:
  void Picked(int index);
  void ChooseFolder();
  void ShowWhereLooked();
  void ShowInUse();

  frmMain& main_;
  const Catalogue& words_;
  Environment environment_;
  GameChoice choice_;
  bool searched_ = false;
  int used_ = -1;  // the index in choice_.games of the install in use
  QWidget* strip_ = nullptr;
  QLabel* inUse_ = nullptr;
  QComboBox* installs_ = nullptr;
};

}  // namespace velquin
