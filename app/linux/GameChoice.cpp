#include "app/linux/GameChoice.h"

#include <chrono>
#include <ctime>

#include "platform/posix/PrefixServices.h"
#include "wine/AnsiCodePages.h"
#include "wine/PrefixCodePage.h"

namespace velquin {

namespace {

std::string LocalTime(std::filesystem::file_time_type time) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(
      std::chrono::file_clock::to_sys(std::chrono::time_point_cast<std::chrono::file_clock::duration>(time)));
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[32] = {};
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

}  // namespace

GameChoice ChooseGame(const std::filesystem::path& home, const std::string& winePrefixVariable,
                      const std::string& explicitPrefix) {
  GameChoice choice;
  const std::vector<PrefixCandidate> candidates =
      explicitPrefix.empty() ? CandidatePrefixes(home, winePrefixVariable)
                             : std::vector<PrefixCandidate>{{explicitPrefix, "--prefix"}};
  choice.candidates = candidates.size();
  choice.games = FindGames(candidates);
  if (!explicitPrefix.empty()) {
    choice.prefix = explicitPrefix;  // the player's own choice, game or not
  } else if (!choice.games.empty()) {
    choice.prefix = choice.games.front().candidate.prefix;
  }
  if (choice.prefix) choice.refusal = WhyNoAnsiCodePage(PrefixAnsiCodePage(*choice.prefix));
  return choice;
}

std::string DescribeChoice(const GameChoice& choice) {
  std::string text;
  if (choice.games.empty()) {
    text = "No Wine prefix holds DF:TFD (looked in " + std::to_string(choice.candidates) + ").\n";
  } else {
    text = "Wine prefixes with DF:TFD, the most recently played first:\n";
    for (const GameInPrefix& game : choice.games) {
      const bool used = choice.prefix && *choice.prefix == game.candidate.prefix;
      text += (used ? "* " : "  ") + game.candidate.prefix.string() + " (" + game.candidate.origin + ")\n";
      text += "    game folder " + game.gameFolder + ", plyr.sav of " + LocalTime(game.modified) + "\n";
    }
  }
  if (choice.prefix) {
    text += "Velquin uses " + choice.prefix->string() + "\n";
    if (!choice.refusal.empty()) text += choice.refusal + "\n";
  }
  return text;
}

PlatformServices ServicesFor(const GameChoice& choice) {
  if (choice.prefix) return MakePrefixServices(*choice.prefix);
  return MakeServicesWithoutGame();
}

}  // namespace velquin
