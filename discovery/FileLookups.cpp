#include "discovery/FileLookups.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "wine/OutsideFile.h"

namespace velquin {

bool IsFolder(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

bool IsRegularFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

bool LooksLikePrefix(const std::filesystem::path& folder) {
  std::error_code error;
  return IsFolder(folder) && std::filesystem::exists(folder / "system.reg", error);
}

std::optional<std::string> ReadConfigFile(const std::filesystem::path& file,
                                          std::vector<SkippedFile>& skipped) {
  OutsideFile read = ReadOutsideFile(file, kMaxConfigFileSize);
  if (!read.refusal.empty()) skipped.push_back({file, read.refusal});
  return std::move(read.text);
}

std::vector<std::filesystem::path> EntriesByName(const std::filesystem::path& folder,
                                                 std::vector<SkippedFile>& skipped) {
  std::vector<std::filesystem::path> entries;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    entries.push_back(it->path());
  }
  std::error_code absent;
  if (error && std::filesystem::status(folder, absent).type() != std::filesystem::file_type::not_found)
    skipped.push_back({folder, error.message()});
  std::sort(entries.begin(), entries.end());
  std::erase_if(entries, [&skipped](const std::filesystem::path& entry) {
    if (!IsFolder(entry) || ::faccessat(AT_FDCWD, entry.c_str(), X_OK, AT_EACCESS) == 0) return false;
    skipped.push_back({entry, std::strerror(errno)});
    return true;
  });
  return entries;
}

std::vector<std::filesystem::path> EntriesByName(const std::filesystem::path& folder) {
  std::vector<SkippedFile> unsaid;
  return EntriesByName(folder, unsaid);
}

std::optional<std::filesystem::path> EntryIgnoringCase(const std::filesystem::path& folder,
                                                       const std::string& name) {
  const auto same = [&name](const std::string& other) {
    return std::equal(name.begin(), name.end(), other.begin(), other.end(), [](char a, char b) {
      return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
  };
  if (IsFolder(folder / name)) return folder / name;
  for (const std::filesystem::path& entry : EntriesByName(folder)) {
    if (same(entry.filename().string()) && IsFolder(entry)) return entry;
  }
  return std::nullopt;
}

std::filesystem::path RealPath(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path real = std::filesystem::weakly_canonical(path, error);
  if (error) return path.lexically_normal();  // a link loop: the spelling is all there is
  return real;
}

}  // namespace velquin
