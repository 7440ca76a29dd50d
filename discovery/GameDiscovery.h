#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "wine/Prefix.h"

namespace velquin {

// Where the launchers keep their files: the home folder, and the XDG base directories where
// set (an empty or relative one counts as unset, as the XDG rules say).
struct Environment {
  std::filesystem::path home;  // HOME, else the password database's, as Wine takes it; absolute or empty
  std::string winePrefix;      // WINEPREFIX
  std::string xdgDataHome;
  std::string xdgConfigHome;

  static Environment FromProcess();
  std::filesystem::path DataHome() const;    // XDG_DATA_HOME, else ~/.local/share
  std::filesystem::path ConfigHome() const;  // XDG_CONFIG_HOME, else ~/.config
};

// A Wine prefix that may hold the game, who made it ("Steam", "Lutris (Flatpak)", "Heroic",
// ...), and the file that named it: a launcher's config, or the folder it was found in.
struct PrefixCandidate {
  std::filesystem::path prefix;  // its real path, links resolved
  std::string origin;
  std::filesystem::path config;
};

// A file or folder that was not read, and why. One whose file system did not answer in time
// is worth telling the player.
struct SkippedFile {
  std::filesystem::path file;
  ReadProblem why;
  bool notAnswering() const { return why.kind == ReadProblem::Kind::NotAnswering; }
};

inline SkippedFile NotAnswering(std::filesystem::path place) {
  return {std::move(place), {ReadProblem::Kind::NotAnswering}};
}

struct Candidates {
  std::vector<PrefixCandidate> prefixes;
  std::vector<SkippedFile> skipped;
};

// The prefixes to look in, in this order: WINEPREFIX alone when it is set (not empty);
// otherwise ~/.wine, the Proton prefixes of every Steam library of every Steam install, then
// Lutris, Bottles, Heroic, umu-launcher, winetricks and PlayOnLinux prefixes, each read from
// the launcher's own files the way the launcher reads them. Each prefix once, under the first
// origin that leads to it. Only folders that exist count, except WINEPREFIX, which the user
// chose; without a home folder, nothing else. Folders that are there but cannot be listed
// are noted as skipped. Reads the user's files and nothing else of the system; never waits
// on one: each place is looked at under a bound, all at once, and one that does not answer
// in time is noted as skipped, not answering (BoundedJobs.h).
Candidates CandidatePrefixes(const Environment& environment);

// A prefix the game is installed in.
struct GameInPrefix {
  PrefixCandidate candidate;
  std::shared_ptr<const Prefix> prefix;      // opened once; the window's services come from it
  std::string gameFolder;                    // the registry's "Path" value, as Windows sees it
  std::filesystem::path playerFile;          // plyr.sav in that folder, inside the prefix
  std::filesystem::file_time_type modified;  // when plyr.sav was last written
};

// What an opened prefix lacks to hold the game, the first missing of: a system.reg that can be
// read, the game's entry in it, plyr.sav in the game folder it names.
enum class GameLack { Nothing, SystemReg, GameEntry, PlayerFile };
GameLack WhatPrefixLacks(const Prefix& prefix);

// Opens the candidate's prefix once and returns it, game or not. When its registry has the
// game's entry (read in the prefix's own code page) and plyr.sav is a regular file there, the
// game is added to `games`; a system.reg that could not be read is added to `skipped`.
std::shared_ptr<const Prefix> OpenCandidate(const PrefixCandidate& candidate,
                                            std::vector<GameInPrefix>& games,
                                            std::vector<SkippedFile>& skipped);

// Opens each candidate as OpenCandidate does, all at once, each under a bound; the prefixes in
// the candidates' order, nothing for one that did not answer in time, which is noted in
// `skipped` as not answering.
std::vector<std::optional<std::shared_ptr<const Prefix>>> OpenCandidates(
    const std::vector<PrefixCandidate>& candidates, std::vector<GameInPrefix>& games,
    std::vector<SkippedFile>& skipped);

// The candidates that hold the game, the most recently played first (newest plyr.sav); equal
// times keep the candidates' order. Each opened as OpenCandidates does.
std::vector<GameInPrefix> FindGames(const std::vector<PrefixCandidate>& candidates,
                                    std::vector<SkippedFile>& skipped);

}  // namespace velquin
