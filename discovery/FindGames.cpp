#include <algorithm>
#include <functional>
#include <iterator>
#include <system_error>

#include "ZOVURFolder/ZOVURFolder.h"
#include "core/PlayerFileLayout.h"
#include "discovery/BoundedJobs.h"
#include "discovery/FileLookups.h"
#include "discovery/GameDiscovery.h"
#include "posix/WinePrefixRegistry.h"
#include "wine/Windows1252.h"

namespace velquin {

namespace {

// The game in the opened prefix: its registry has the game's entry, read in the prefix's own
// code page, and plyr.sav exists there as a regular file; else the first of these it lacks.
struct Lookup {
  GameLack lack = GameLack::Nothing;
  std::string folder;
  std::filesystem::path playerFile;
  std::filesystem::file_time_type modified;
};

Lookup LookForGame(const Prefix& prefix) {
  // A prefix whose code page Velquin cannot convert is still listed, with the reason, when its
  // game folder is plain enough to be read in 1252.
  const Windows1252 western;
  const CodePage& codePage = prefix.codePage() ? *prefix.codePage() : western;
  WinePrefixRegistry registry(std::shared_ptr<const Prefix>(std::shared_ptr<void>(), &prefix), codePage);
  Lookup found;
  found.folder = LookUpGameFolder(registry, codePage);
  if (found.folder.empty()) {
    // Only now: the search does not look at the file twice for every prefix without the game.
    const bool noRegistry =
        static_cast<bool>(prefix.registryRefusal()) || !StampOf(prefix.folder() / "system.reg");
    found.lack = noRegistry ? GameLack::SystemReg : GameLack::GameEntry;
    return found;
  }
  const std::optional<std::filesystem::path> playerFile = prefix.FileOf(PlayerFilePath(found.folder));
  std::error_code error;
  if (playerFile && IsRegularFile(*playerFile))
    found.modified = std::filesystem::last_write_time(*playerFile, error);
  if (!playerFile || !IsRegularFile(*playerFile) || error) {
    found.lack = GameLack::PlayerFile;
    return found;
  }
  found.playerFile = *playerFile;
  return found;
}

std::optional<GameInPrefix> GameIn(const PrefixCandidate& candidate, std::shared_ptr<const Prefix> prefix) {
  Lookup found = LookForGame(*prefix);
  if (found.lack != GameLack::Nothing) return std::nullopt;
  return GameInPrefix{candidate, std::move(prefix), std::move(found.folder), found.playerFile,
                      found.modified};
}

}  // namespace

GameLack WhatPrefixLacks(const Prefix& prefix) {
  return LookForGame(prefix).lack;
}

std::shared_ptr<const Prefix> OpenCandidate(const PrefixCandidate& candidate,
                                            std::vector<GameInPrefix>& games,
                                            std::vector<SkippedFile>& skipped) {
  std::shared_ptr<const Prefix> prefix = Prefix::Open(candidate.prefix, {kGameKeyName});
  if (prefix->registryRefusal()) {
    skipped.push_back({candidate.prefix / "system.reg", prefix->registryRefusal()});
  } else if (auto game = GameIn(candidate, prefix)) {
    games.push_back(std::move(*game));
  }
  return prefix;
}

namespace {

// What opening one prefix gave.
struct Opened {
  std::shared_ptr<const Prefix> prefix;
  std::vector<GameInPrefix> games;
  std::vector<SkippedFile> skipped;
};

}  // namespace

std::vector<std::optional<std::shared_ptr<const Prefix>>> OpenCandidates(
    const std::vector<PrefixCandidate>& candidates, std::vector<GameInPrefix>& games,
    std::vector<SkippedFile>& skipped) {
  // Each prefix is a place of its own: one on a share that does not answer holds only itself.
  std::vector<std::function<Opened()>> jobs;
  for (const PrefixCandidate& candidate : candidates) {
    jobs.push_back([candidate] {
      Opened opened;
      opened.prefix = OpenCandidate(candidate, opened.games, opened.skipped);
      return opened;
    });
  }
  std::vector<std::optional<Opened>> results = RunBounded(std::move(jobs), SearchDeadline());
  std::vector<std::optional<std::shared_ptr<const Prefix>>> prefixes;
  for (std::size_t i = 0; i < results.size(); ++i) {
    if (!results[i]) {
      skipped.push_back(NotAnswering(candidates[i].prefix));
      prefixes.emplace_back();
      continue;
    }
    std::move(results[i]->games.begin(), results[i]->games.end(), std::back_inserter(games));
    std::move(results[i]->skipped.begin(), results[i]->skipped.end(), std::back_inserter(skipped));
    prefixes.push_back(std::move(results[i]->prefix));
  }
  return prefixes;
}

std::vector<GameInPrefix> FindGames(const std::vector<PrefixCandidate>& candidates,
                                    std::vector<SkippedFile>& skipped) {
  std::vector<GameInPrefix> games;
  OpenCandidates(candidates, games, skipped);
  std::stable_sort(games.begin(), games.end(),
                   [](const GameInPrefix& a, const GameInPrefix& b) { return a.modified > b.modified; });
  return games;
}

}  // namespace velquin
