// Velquin for Linux: finds DF:TFD in the player's Wine, Proton, Lutris, Bottles or Heroic prefix and
// shows the same three windows on Qt.
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/linux/BundleStart.h"
#include "app/linux/GameChoice.h"
#include "app/linux/GamePicker.h"
#include "forms/ProgramWindows.h"
#include "forms/UiChannel.h"
#include "forms/frmMainDesign.h"
#include "platform/qt/QtDisplay.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtToolkit.h"
#include "tools/IconShape.h"

namespace {

// What --help says of the program; the places looked in come from the launchers' table.
QString Description() {
  return QString::fromUtf8(
             "Edits the five character names and the ten chat macros (SHIFT+F1..F10) in the player file\n"
             "plyr.sav of DF:TFD, installed in a Wine prefix that a launcher made.\n"
             "\n"
             "It looks for the game in WINEPREFIX alone when that is set; otherwise in the install picked\n"
             "in its window last time, while that still holds the game, and in these places, each read\n"
             "from the launcher's own files (XDG_CONFIG_HOME and XDG_DATA_HOME honoured):\n") +
         QString::fromStdString(velquin::SearchedPlaces()) +
         QString::fromUtf8(
             "A prefix counts when its registry has the game's entry and its plyr.sav exists; of several,\n"
             "the one whose plyr.sav was written last is used, and the window lets you pick another\n"
             "or choose a prefix folder. A place that does not answer within a few seconds (a sleeping\n"
             "share, a stopped FUSE mount) is skipped, and --list says so.\n"
             "Close the game before saving.");
}

// Drawn here, at the size a desktop shows a window's icon: a picture file would have Qt load
// every image-format plugin, and asking the icon theme for it searches the theme's every folder.
QIcon WindowIcon() {
  constexpr int kSize = 48;
  const std::vector<std::uint32_t> pixels = velquin::icon::RenderArgb(kSize);
  const QImage image(reinterpret_cast<const uchar*>(pixels.data()), kSize, kSize, QImage::Format_ARGB32);
  return QIcon(QPixmap::fromImage(image));
}

constexpr const char* kNoDisplay =
    "velquin: no display to open its window on (DISPLAY and WAYLAND_DISPLAY); nothing was read or written.\n";

// The search for the game, on a thread of its own that owns this and is never joined: a
// library on a mount that does not answer holds the search, not the window nor the exit.
struct Search {
  std::mutex mutex;
  bool done = false;
  velquin::GameChoice choice;
  std::shared_ptr<velquin::PlatformServices> os;
  std::function<void()> then;  // set by the window when it came first
};

// The folders whose file system did not answer, as the player reads them.
std::vector<std::string> FoldersNotAnswering(const velquin::GameChoice& choice) {
  std::vector<std::string> folders;
  for (const velquin::SkippedFile& skipped : choice.skipped)
    if (skipped.notAnswering) folders.push_back(skipped.file.string());
  return folders;
}

}  // namespace

int main(int argc, char** argv) {
  // Parsed before any application object exists: --help, --version and --list need no display.
  QCommandLineParser parser;
  parser.setApplicationDescription(Description());
  const QCommandLineOption help(QStringList{"h", "help"}, "Show this help and exit.");
  const QCommandLineOption version("version", "Show the version and exit.");
  const QCommandLineOption list("list",
                                "List every prefix that holds the game and the one that would be used; "
                                "exit 0 when one does, 1 when none does.");
  const QCommandLineOption prefix("prefix", "Use the Wine prefix DIR.", "DIR");
  parser.addOptions({help, version, list, prefix});
  // A file name on Linux is bytes, not text: each byte goes in as the one Latin-1 character
  // of that code and comes out as itself, so a folder name that is not UTF-8 reaches the file
  // system as given, and an error quotes the argument as typed. The options are ASCII.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLatin1(argv[i]);
  if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
    const QString error = parser.errorText().isEmpty()
                              ? "Unexpected argument '" + parser.positionalArguments().constFirst() + "'."
                              : parser.errorText();
    std::fprintf(stderr, "velquin: %s Try 'velquin --help'.\n", error.toLatin1().constData());
    return 2;
  }
  if (parser.isSet(prefix) && parser.value(prefix).isEmpty()) {
    std::fprintf(stderr, "velquin: --prefix needs a folder. Try 'velquin --help'.\n");
    return 2;
  }
  if (parser.isSet(help)) {
    const std::string text = parser.helpText().replace("<executable_name>", "velquin").toStdString();
    std::fputs(text.c_str(), stdout);
    return 0;
  }
  if (parser.isSet(version)) {
    std::printf("velquin %s\n", VELQUIN_VERSION);
    return 0;
  }

  const velquin::Environment environment = velquin::Environment::FromProcess();
  const std::string chosenPrefix = parser.value(prefix).toLatin1().toStdString();
  if (parser.isSet(list)) {
    const velquin::GameChoice choice = velquin::ChooseGame(environment, chosenPrefix);
    std::fputs(velquin::DescribeChoice(choice).c_str(), stdout);
    return choice.games.empty() ? 1 : 0;
  }

  velquin::UseBundledQtPlugins();
  // Finding the game and opening its prefix read files only: they run while Qt connects to
  // the display, and the window comes without waiting for them.
  const velquin::DisplayReach display = velquin::ProbeDisplay();
  if (display == velquin::DisplayReach::None) {
    std::fputs(kNoDisplay, stderr);
    return 1;
  }
  const auto search = std::make_shared<Search>();
  std::thread([search, environment, chosenPrefix] {
    velquin::GameChoice choice = velquin::ChooseGame(environment, chosenPrefix);
    auto os = std::make_shared<velquin::PlatformServices>(velquin::ServicesFor(choice));
    std::function<void()> then;
    {
      const std::lock_guard lock(search->mutex);
      search->choice = std::move(choice);
      search->os = std::move(os);
      search->done = true;
      then = std::move(search->then);
    }
    if (then) then();
  }).detach();

  std::vector<std::string> extraArguments;
  std::vector<char*> qtArguments = velquin::QtArguments(argc, argv, display, extraArguments);
  int qtArgc = static_cast<int>(qtArguments.size()) - 1;
  std::unique_ptr<QApplication> application;
  {
    const velquin::QtStartGuard guard(kNoDisplay);
    application = std::make_unique<QApplication>(qtArgc, qtArguments.data());
  }
  velquin::QtToolkit toolkit(WindowIcon());
  velquin::QtShell shell;
  velquin::ProgramWindows windows(toolkit, shell, nullptr);
  velquin::GamePicker picker(windows.main, environment);
  toolkit.AddStrip(std::string(velquin::frmMainDesign::Design().caption),
                   [&picker](QWidget& form) { return picker.MakeStrip(form); });
  if (!windows.main.Show()) {
    std::fprintf(stderr, "velquin: could not create its window; nothing was read or written.\n");
    std::fflush(nullptr);
    std::_Exit(1);
  }
  velquin::UiChannel channel(toolkit);
  const auto searchEnded = [&windows, &picker, search] {
    windows.main.SearchEnded(search->os, search->choice.refusal, FoldersNotAnswering(search->choice));
    picker.SearchEnded(search->choice);
  };
  {
    std::unique_lock lock(search->mutex);
    if (!search->done) {
      search->then = [toUi = channel.sender(), searchEnded] { toUi(searchEnded); };
    } else {
      lock.unlock();
      searchEnded();
    }
  }
  const int status = QApplication::exec();
  channel.Close();

  // A save still running may finish; a search, or a save that a disk holds longer, is left to
  // the kernel, which ends its thread with the process, before anything it uses is destroyed.
  const bool searched = [&search] {
    const std::lock_guard lock(search->mutex);
    return search->done;
  }();
  if (!searched || !windows.main.FinishSaves(std::chrono::seconds(10))) {
    std::fflush(nullptr);
    std::_Exit(status);
  }
  return status;
}
