#include "app/linux/GameChoice.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>

#include "app/linux/Launchers.h"
#include "app/linux/RememberedGame.h"
#include "discovery/BoundedJobs.h"
#include "posix/PrefixServices.h"
#include "wine/SingleByteCodePages.h"

namespace velquin {

namespace {

constexpr std::chrono::milliseconds kSettingsBound{1000};

std::string LocalTime(std::filesystem::file_time_type time) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(
      std::chrono::file_clock::to_sys(std::chrono::time_point_cast<std::chrono::file_clock::duration>(time)));
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[32] = {};
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

// Text from outside (a folder's name, the registry's game folder) with its control characters
// escaped, so that each listed thing stays on its one line and nothing reaches the terminal
// as a command. Backslashes stay as they are: every Windows path has them.
std::string Printable(const std::string& text) {
  std::string printable;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      printable += c;
    } else if (c == '\n') {
      printable += "\\n";
    } else if (c == '\t') {
      printable += "\\t";
    } else {
      constexpr char kHex[] = "0123456789abcdef";
      printable += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
    }
  }
  return printable;
}

}  // namespace

GameChoice ChooseGame(const Environment& environment, const std::string& explicitPrefix,
                      const Catalogue& words) {
  GameChoice choice;
  if (!explicitPrefix.empty()) {
    // The player's own choice, game or not; opened once, listed when it holds the game.
    choice.candidates = 1;
    auto opened = OpenCandidates({{explicitPrefix, "--prefix", ""}}, choice.games, choice.skipped);
    choice.prefix = opened.front().value_or(nullptr);
    if (choice.prefix && choice.games.empty()) choice.refusal = WhyNoGame(*choice.prefix, words);
  } else {
    Candidates candidates = CandidatePrefixes(environment);
    // WINEPREFIX, when set, is the one place looked in: what was picked in the window yields.
    RememberedGame remembered;
    if (environment.winePrefix.empty()) {
      // A config folder on a share that does not answer holds only this read.
      auto read = RunBounded<RememberedGame>(
          {[environment, &words] { return ReadRememberedGame(environment, words); }},
          std::chrono::steady_clock::now() + kSettingsBound, kSettingsBound);
      if (read.front()) {
        remembered = std::move(*read.front());
      } else {
        candidates.skipped.push_back(NotAnswering(SettingsFile(environment)));
      }
    }
    if (!remembered.note.empty()) choice.notes.push_back(remembered.note);
    const auto isRemembered = [&remembered](const PrefixCandidate& c) {
      return c.prefix == remembered.prefix;
    };
    // A folder chosen in the window that no launcher records is looked at all the same.
    if (!remembered.prefix.empty() && std::ranges::none_of(candidates.prefixes, isRemembered))
      candidates.prefixes.push_back({remembered.prefix, std::string(words[TextId::ChosenOrigin]), ""});
    choice.candidates = candidates.prefixes.size();
    choice.skipped = std::move(candidates.skipped);
    choice.games = FindGames(candidates.prefixes, choice.skipped);
    if (!choice.games.empty()) choice.prefix = choice.games.front().prefix;
    if (!remembered.prefix.empty()) {
      const auto kept = std::ranges::find_if(
          choice.games, [&](const GameInPrefix& g) { return isRemembered(g.candidate); });
      if (kept != choice.games.end()) {
        choice.prefix = kept->prefix;
        choice.remembered = remembered.prefix;
      } else {
        choice.notes.push_back(words.Format(TextId::RememberedGone, {Printable(remembered.prefix.string())}));
      }
    }
    if (!choice.prefix) choice.refusal = words[TextId::NotFound];
  }
  // The prefix's own table answers whether its code page can be converted; asking iconv again
  // would build a second one.
  if (choice.prefix && choice.refusal.empty() && !choice.prefix->codePage())
    choice.refusal = WhyNoCodePage(choice.prefix->ansiCodePage(), words);
  return choice;
}

std::string NameOf(const GameInPrefix& game, const Catalogue& words, bool wholeFolder) {
  // The last three parts of the folder tell installs of one launcher apart.
  const std::filesystem::path& folder = game.candidate.prefix;
  std::vector<std::string> parts;
  for (const auto& part : folder) parts.push_back(part.string());
  std::string shown = folder.string();
  if (!wholeFolder && parts.size() > 4) {
    shown = "\u2026";
    for (std::size_t i = parts.size() - 3; i < parts.size(); ++i) shown += "/" + parts[i];
  }
  return game.candidate.origin + " \u00b7 " + Printable(shown) + " \u00b7 " +
         words.Format(TextId::PlayerFileOf, {LocalTime(game.modified)});
}

std::string WhyNoGame(const Prefix& prefix, const Catalogue& words) {
  TextId why{};
  switch (WhatPrefixLacks(prefix)) {
    case GameLack::Nothing:
      return {};
    case GameLack::SystemReg:
      why = TextId::NoSystemReg;
      break;
    case GameLack::GameEntry:
      why = TextId::NoGameEntry;
      break;
    case GameLack::PlayerFile:
      why = TextId::NoPlayerFile;
      break;
  }
  return words.Format(TextId::NotAGamePrefix, {Printable(prefix.folder().string()), words[why]});
}

std::string WhyNoCodePage(int number, const Catalogue& words) {
  const std::string n = std::to_string(number);
  switch (SupportOf(number)) {
    case CodePageSupport::Converted:
      return {};
    case CodePageSupport::DoubleByte:
      return words.Format(TextId::CodePageDoubleByte, {n});
    case CodePageSupport::Utf8:
      return words.Format(TextId::CodePageUtf8, {n});
    case CodePageSupport::Unknown: {
      const KnownCodePages known = KnownAnsiCodePages();
      return words.Format(TextId::CodePageUnknown, {n, std::to_string(known.lone),
                                                    std::to_string(known.first), std::to_string(known.last)});
    }
    case CodePageSupport::NotInIconv:
      return words.Format(TextId::CodePageNoIconv, {n});
  }
  return {};
}

std::string Describe(const ReadProblem& problem, const Catalogue& words) {
  using enum ReadProblem::Kind;
  if (problem.kind == TooBig)
    return words.Format(TextId::ProblemTooBig, {std::to_string(problem.size), std::to_string(problem.limit)});
  // The system's own words, without strerror's shared buffer: the search runs on several threads.
  if (problem.kind == System) return std::generic_category().message(problem.error);
  constexpr std::pair<ReadProblem::Kind, TextId> kWords[] = {{Folder, TextId::ProblemFolder},
                                                             {Fifo, TextId::ProblemFifo},
                                                             {Device, TextId::ProblemDevice},
                                                             {Socket, TextId::ProblemSocket},
                                                             {NotRegular, TextId::ProblemNotRegular},
                                                             {NotAnswering, TextId::ProblemNotAnswering},
                                                             {NotKeyValues, TextId::ProblemNotKeyValues},
                                                             {NotYaml, TextId::ProblemNotYaml},
                                                             {NotJson, TextId::ProblemNotJson}};
  for (const auto& [kind, id] : kWords)
    if (kind == problem.kind) return std::string(words[id]);
  return {};
}

std::string SearchedPlaces(const Catalogue& words) {
  std::string text;
  for (const Launcher& launcher : kLaunchers)
    text += "  " + std::string(launcher.name) + ": " + std::string(words[launcher.places]) + "\n";
  return text;
}

std::string DescribeChoice(const GameChoice& choice, const Catalogue& words) {
  std::string text;
  for (const std::string& note : choice.notes) text += note + "\n";
  if (choice.games.empty()) {
    text += words.Format(TextId::ListNone, {std::to_string(choice.candidates)}) + "\n";
  } else {
    text += std::string(words[TextId::ListGames]) + "\n";
    for (const GameInPrefix& game : choice.games) {
      const bool used = choice.prefix == game.prefix;
      text += (used ? "* " : "  ") + Printable(game.candidate.prefix) + " (" + game.candidate.origin;
      if (!game.candidate.config.empty())
        text += words.Format(TextId::ListFrom, {Printable(game.candidate.config)});
      if (used && !choice.remembered.empty()) text += words[TextId::ListRemembered];
      text += ")\n    " +
              words.Format(TextId::ListGameFolder, {Printable(game.gameFolder), LocalTime(game.modified)}) +
              "\n";
    }
  }
  for (const SkippedFile& skipped : choice.skipped)
    text += words.Format(TextId::ListSkipped,
                         {Printable(skipped.file), Printable(Describe(skipped.why, words))}) +
            "\n";
  if (choice.prefix) {
    text += words.Format(TextId::ListUses, {Printable(choice.prefix->folder())}) + "\n";
    if (!choice.refusal.empty()) text += Printable(choice.refusal) + "\n";
  }
  return text;
}

PlatformServices ServicesFor(const GameChoice& choice) {
  if (choice.prefix) return MakePrefixServices(choice.prefix);
  return MakeServicesWithoutGame();
}

}  // namespace velquin
