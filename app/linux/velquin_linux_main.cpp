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
#include "platform/qt/QtDisplay.h"
#include "platform/qt/QtLanguages.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtToolkit.h"
#include "tools/IconShape.h"

namespace {

QString Words(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// What --help says of the program; the places looked in come from the launchers' table.
QString Description(const velquin::Catalogue& words) {
  using velquin::TextId;
  return Words(words[TextId::HelpDescription]) + "\n" +
         QString::fromStdString(velquin::SearchedPlaces(words)) + Words(words[TextId::HelpDescriptionEnd]);
}

// Drawn here, at the size a desktop shows a window's icon: a picture file would have Qt load
// every image-format plugin, and asking the icon theme for it searches the theme's every folder.
QIcon WindowIcon() {
  constexpr int kSize = 48;
  const std::vector<std::uint32_t> pixels = velquin::icon::RenderArgb(kSize);
  const QImage image(reinterpret_cast<const uchar*>(pixels.data()), kSize, kSize, QImage::Format_ARGB32);
  return QIcon(QPixmap::fromImage(image));
}

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
    if (skipped.notAnswering()) folders.push_back(skipped.file.string());
  return folders;
}

}  // namespace

int main(int argc, char** argv) {
  using velquin::TextId;
  const velquin::Catalogue& words = velquin::Catalogue::For(velquin::PreferredLanguages());
  // Parsed before any application object exists: --help, --version and --list need no display.
  QCommandLineParser parser;
  parser.setApplicationDescription(Description(words));
  const QCommandLineOption help(QStringList{"h", "help"}, Words(words[TextId::OptionHelp]));
  const QCommandLineOption version("version", Words(words[TextId::OptionVersion]));
  const QCommandLineOption list("list", Words(words[TextId::OptionList]));
  const QCommandLineOption prefix("prefix", Words(words[TextId::OptionPrefix]), "DIR");
  parser.addOptions({help, version, list, prefix});
  // A file name on Linux is bytes, not text: each byte goes in as the one Latin-1 character
  // of that code and comes out as itself, so a folder name that is not UTF-8 reaches the file
  // system as given, and an error quotes the argument as typed. The options are ASCII.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLatin1(argv[i]);
  if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
    // The argument goes back out as the bytes it came in as.
    const std::string error =
        parser.errorText().isEmpty()
            ? words.Format(TextId::UnexpectedArgument,
                           {parser.positionalArguments().constFirst().toLatin1().toStdString()})
            : parser.errorText().toLatin1().toStdString();
    std::fprintf(stderr, "%s\n", words.Format(TextId::TryHelp, {error}).c_str());
    return 2;
  }
  if (parser.isSet(prefix) && parser.value(prefix).isEmpty()) {
    std::fprintf(stderr, "%s\n", std::string(words[TextId::PrefixNeedsFolder]).c_str());
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
    // Scripts read the list: it stays in English whatever the player's language.
    const velquin::Catalogue& english = velquin::Catalogue::English();
    const velquin::GameChoice choice = velquin::ChooseGame(environment, chosenPrefix, english);
    std::fputs(velquin::DescribeChoice(choice, english).c_str(), stdout);
    return choice.games.empty() ? 1 : 0;
  }

  velquin::UseBundledQtPlugins();
  // Finding the game and opening its prefix read files only: they run while Qt connects to
  // the display, and the window comes without waiting for them.
  const velquin::DisplayReach display = velquin::ProbeDisplay();
  const std::string noDisplay = std::string(words[TextId::NoDisplay]) + "\n";
  if (display == velquin::DisplayReach::None) {
    std::fputs(noDisplay.c_str(), stderr);
    return 1;
  }
  const auto search = std::make_shared<Search>();
  std::thread([search, environment, chosenPrefix, &words] {
    velquin::GameChoice choice = velquin::ChooseGame(environment, chosenPrefix, words);
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
    const velquin::QtStartGuard guard(noDisplay.c_str());
    application = std::make_unique<QApplication>(qtArgc, qtArguments.data());
  }
  velquin::QtToolkit toolkit(WindowIcon());
  velquin::QtShell shell;
  velquin::ProgramWindows windows(toolkit, shell, nullptr, words);
  velquin::GamePicker picker(windows.main, environment, words);
  toolkit.AddStrip(std::string(words[TextId::frmMain_Caption]),
                   [&picker](QWidget& form) { return picker.MakeStrip(form); });
  if (!windows.main.Show()) {
    std::fprintf(stderr, "%s\n", std::string(words[TextId::NoWindowLine]).c_str());
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
