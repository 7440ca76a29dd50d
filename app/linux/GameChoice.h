#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "discovery/GameDiscovery.h"
#include "forms/Catalogue.h"
#include "platform/Services.h"

namespace velquin {

// Which Wine prefix the program works in, and what it found on the way; its sentences in the
// language it was chosen in.
struct GameChoice {
  std::size_t candidates = 0;            // prefixes looked at
  std::vector<GameInPrefix> games;       // those that hold the game, newest plyr.sav first
  std::vector<SkippedFile> skipped;      // files not read, and why
  std::shared_ptr<const Prefix> prefix;  // the one used: the newest, or --prefix
  std::string refusal;                   // why nothing can be edited in it, if so
  std::filesystem::path remembered;      // the install picked last, when it is the one used
  std::vector<std::string> notes;        // a settings file ignored, a remembered install gone
};

// The prefix named on the command line; else WINEPREFIX when it holds the game; else the
// install the player picked last (RememberedGame.h) while it still holds the game; else the
// one whose plyr.sav is newest of every candidate of the environment. Returns within twice
// kSearchBound and a second whatever hangs: a place that does not answer in time is skipped, not answering.
GameChoice ChooseGame(const Environment& environment, const std::string& explicitPrefix,
                      const Catalogue& words);

// What --list prints (in English, since scripts read it) and Where Looked shows: every prefix
// with the game, the launcher and file that led to it, its game folder and file time, which one
// would be used, and the files that were skipped.
std::string DescribeChoice(const GameChoice& choice, const Catalogue& words);

// The game's entry in the list: its launcher and the end of its folder ("Steam · …/compatdata/
// 4242/pfx"), or the whole folder, and when its plyr.sav was last written.
std::string NameOf(const GameInPrefix& game, const Catalogue& words, bool wholeFolder = false);

// Why the opened prefix does not hold the game, in words; empty when it does.
std::string WhyNoGame(const Prefix& prefix, const Catalogue& words);

// Why a code page gives no converter, in words; empty when it gives one.
std::string WhyNoCodePage(int number, const Catalogue& words);

// Why a file or folder was not read, in words.
std::string Describe(const ReadProblem& problem, const Catalogue& words);

// --help's list of the places looked in, one launcher a line.
std::string SearchedPlaces(const Catalogue& words);

// The services of the chosen prefix, made from the same Prefix that discovery opened. Without
// one, a registry with no game entry: the window opens empty, as on Windows without the game,
// and no save writes.
PlatformServices ServicesFor(const GameChoice& choice);

}  // namespace velquin
