#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velquin {

// Launchers leave their files in a HOME that anyone may have broken: links that point
// nowhere, folders where files belong, FIFOs, files far too big. These look-ups never throw
// and never block; what they cannot use they treat as absent.

// The whole text of a regular file of at most 1 MiB, or nothing.
std::optional<std::string> ReadSmallTextFile(const std::filesystem::path& file);

// The entries of a folder, sorted by name so that every run sees them in the same order;
// none when the folder cannot be listed.
std::vector<std::filesystem::path> EntriesByName(const std::filesystem::path& folder);

bool IsFolder(const std::filesystem::path& path);
bool IsRegularFile(const std::filesystem::path& path);

// The path with every link resolved as far as it exists, for telling two paths to the same
// folder apart from two folders.
std::filesystem::path RealPath(const std::filesystem::path& path);

}  // namespace velquin
