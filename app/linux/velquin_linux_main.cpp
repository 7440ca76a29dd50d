// Velquin for Linux: finds DF:TFD in the player's Wine, Proton, Lutris or Bottles prefix and
// shows the same three windows on Qt.
//   velquin               the window, over the prefix whose plyr.sav is newest
//   velquin --list        every prefix that holds the game, and which one would be used
//   velquin --prefix DIR  the window, over that prefix
#include <QApplication>
#include <QIcon>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/linux/GameChoice.h"
#include "forms/ProgramWindows.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtToolkit.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: velquin [--list | --prefix DIR]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool list = false;
  std::string prefix;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--list") == 0) {
      list = true;
    } else if (std::strcmp(argv[i], "--prefix") == 0 && i + 1 < argc) {
      prefix = argv[++i];
    } else {
      return Usage();
    }
  }

  const velquin::GameChoice choice = velquin::ChooseGame(velquin::Environment::FromProcess(), prefix);
  if (list) {
    std::fputs(velquin::DescribeChoice(choice).c_str(), stdout);
    return 0;
  }

  QApplication application(argc, argv);
  velquin::PlatformServices os = velquin::ServicesFor(choice);
  velquin::QtToolkit toolkit(QIcon::fromTheme("io.velquin.Velquin", QIcon(":/velquin.png")));
  velquin::QtShell shell;
  velquin::ProgramWindows windows(toolkit, shell, os);
  if (!windows.main.Show()) {
    std::fprintf(stderr, "velquin: could not create its window; nothing was read or written.\n");
    return 1;
  }
  if (!choice.refusal.empty()) windows.main.ShowStatusMessage(choice.refusal);
  return QApplication::exec();
}
