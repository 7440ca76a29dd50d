#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "discovery/GameDiscovery.h"

namespace velquin {

// Launchers leave their files in a HOME that anyone may have broken: links that point
// nowhere, folders where files belong, FIFOs, files far too big. These look-ups never throw
// and never block; what they cannot use they treat as absent.

// The whole text of a launcher's file, or nothing. A file that is there but may not be read
// (not a regular file, too big) is noted in `skipped` with the reason.
std::optional<std::string> ReadConfigFile(const std::filesystem::path& file,
                                          std::vector<SkippedFile>& skipped);

// The entries of a folder, sorted by name so that every run sees them in the same order;
// none when the folder cannot be listed. A folder that is there but cannot be listed (no
// permission, a link loop, a file where a folder belongs) is noted in `skipped` with the
// system's reason, and so is each folder in it that cannot be entered, which is left out:
// what it holds cannot be looked at. A folder that is not there is no news.
std::vector<std::filesystem::path> EntriesByName(const std::filesystem::path& folder,
                                                 std::vector<SkippedFile>& skipped);
// The same, for a folder only searched by name: what cannot be listed is absent.
std::vector<std::filesystem::path> EntriesByName(const std::filesystem::path& folder);

// The entry of `folder` named `name` without regard to case, as Steam matches its folders.
// With `skipped`, a folder that is there but cannot be listed is noted in it with the
// system's reason (a FUSE mount whose daemon is gone may still answer for the folder itself
// from what the kernel keeps, and only then fail).
std::optional<std::filesystem::path> EntryIgnoringCase(const std::filesystem::path& folder,
                                                       const std::string& name,
                                                       std::vector<SkippedFile>* skipped = nullptr);

bool IsFolder(const std::filesystem::path& path);
// The same for a folder a launcher names; one that cannot be looked at for another reason than
// not being there (a FUSE mount whose daemon is gone: "Transport endpoint is not connected")
// is noted in `skipped` with the system's reason.
bool FolderThere(const std::filesystem::path& path, std::vector<SkippedFile>& skipped);
bool IsRegularFile(const std::filesystem::path& path);
// A folder with a system.reg of any kind: Wine's mark of a prefix. One that cannot be read is
// reported when the prefix is opened.
bool LooksLikePrefix(const std::filesystem::path& folder);
// The same for a folder already opened (O_PATH will do).
bool LooksLikePrefix(int folder);

// The path with every link resolved as far as it exists, for telling two paths to the same
// folder apart from two folders.
std::filesystem::path RealPath(const std::filesystem::path& path);

}  // namespace velquin
