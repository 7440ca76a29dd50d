#include <algorithm>
#include <system_error>

#include "ZOVURFolder/ZOVURFolder.h"
#include "discovery/FileLookups.h"
#include "discovery/GameDiscovery.h"
#include "platform/posix/Windows1252.h"
#include "platform/posix/WinePrefixRegistry.h"
#include "wine/WinePrefix.h"

namespace velquin {

namespace {

std::optional<GameInPrefix> GameIn(const PrefixCandidate& candidate) {
  // Only a regular system.reg is read: a FIFO in its place would block the registry reader.
  if (!IsRegularFile(candidate.prefix / "system.reg")) return std::nullopt;
  const Windows1252 codePage;
  WinePrefixRegistry registry(candidate.prefix, codePage);
  std::string folder = LookUpGameFolder(registry, codePage);
  if (folder.empty()) return std::nullopt;

  const std::optional<std::filesystem::path> playerFile =
      ResolveWindowsPath(candidate.prefix, folder + "\\plyr.sav");
  if (!playerFile || !IsRegularFile(*playerFile)) return std::nullopt;
  std::error_code error;
  const std::filesystem::file_time_type modified = std::filesystem::last_write_time(*playerFile, error);
  if (error) return std::nullopt;
  return GameInPrefix{candidate, std::move(folder), *playerFile, modified};
}

}  // namespace

std::vector<GameInPrefix> FindGames(const std::vector<PrefixCandidate>& candidates) {
  std::vector<GameInPrefix> games;
  for (const PrefixCandidate& candidate : candidates) {
    if (auto game = GameIn(candidate)) games.push_back(std::move(*game));
  }
  std::stable_sort(games.begin(), games.end(),
                   [](const GameInPrefix& a, const GameInPrefix& b) { return a.modified > b.modified; });
  return games;
}

}  // namespace velquin
