// Velquin for Linux: finds DF:TFD in the player's Wine, Proton, Lutris, Bottles or Heroic prefix and
// shows the same three windows on Qt.
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <cstdio>
#include <future>
#include <string>
#include <vector>

#include "app/linux/BundleStart.h"
#include "app/linux/GameChoice.h"
#include "forms/ProgramWindows.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtToolkit.h"
#include "tools/IconShape.h"

namespace {

constexpr const char* kDescription =
    "Edits the five character names and the ten chat macros (SHIFT+F1..F10) in the player file\n"
    "plyr.sav of DF:TFD, installed in a Wine, Proton, Lutris, Bottles or Heroic prefix.\n"
    "\n"
    "It looks for the game in WINEPREFIX alone when that is set; otherwise in ~/.wine, in the\n"
    "Proton prefixes (steamapps/compatdata/*/pfx) of every Steam library (native, Flatpak and\n"
    "Snap Steam), in the prefixes that Lutris' and Heroic's game configs name, in every Bottles\n"
    "bottle, and in umu-launcher's, winetricks' and PlayOnLinux's prefixes, each read from the\n"
    "launcher's own files (XDG_CONFIG_HOME and XDG_DATA_HOME honoured).\n"
    "A prefix counts when its registry has the game's entry and its plyr.sav exists; of several,\n"
    "the one whose plyr.sav was written last is used. Close the game before saving.";

// Drawn here, at the size a desktop shows a window's icon: a picture file would have Qt load
// every image-format plugin, and asking the icon theme for it searches the theme's every folder.
QIcon WindowIcon() {
  constexpr int kSize = 48;
  const std::vector<std::uint32_t> pixels = velquin::icon::RenderArgb(kSize);
  const QImage image(reinterpret_cast<const uchar*>(pixels.data()), kSize, kSize, QImage::Format_ARGB32);
  return QIcon(QPixmap::fromImage(image));
}

// Which prefix the program works in, and its services.
struct Found {
  velquin::GameChoice choice;
  velquin::PlatformServices os;
};

}  // namespace

int main(int argc, char** argv) {
  // Parsed before any application object exists: --help, --version and --list need no display.
  QCommandLineParser parser;
  parser.setApplicationDescription(QString::fromUtf8(kDescription));
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
  // the display.
  std::future<Found> finding = std::async(std::launch::async, [&] {
    Found found{velquin::ChooseGame(environment, chosenPrefix), {}};
    found.os = velquin::ServicesFor(found.choice);
    return found;
  });
  QApplication application(argc, argv);
  Found found = finding.get();
  const velquin::GameChoice& choice = found.choice;
  velquin::PlatformServices& os = found.os;
  velquin::QtToolkit toolkit(WindowIcon());
  velquin::QtShell shell;
  velquin::ProgramWindows windows(toolkit, shell, os);
  if (!windows.main.Show()) {
    std::fprintf(stderr, "velquin: could not create its window; nothing was read or written.\n");
    return 1;
  }
  if (!choice.refusal.empty()) windows.main.ShowStatusMessage(choice.refusal);
  return QApplication::exec();
}
