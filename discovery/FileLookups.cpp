#include "discovery/FileLookups.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <system_error>

#include "platform/AsciiCase.h"
#include "wine/Descriptor.h"
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
  const Descriptor opened(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  return opened.valid() && LooksLikePrefix(opened.get());
}

bool LooksLikePrefix(int folder) {
  struct stat info {};
  return ::fstatat(folder, "system.reg", &info, 0) == 0;
}

std::optional<std::string> ReadConfigFile(const std::filesystem::path& file,
                                          std::vector<SkippedFile>& skipped) {
  OutsideFile read = ReadOutsideFile(file, kMaxConfigFileSize);
  if (!read.refusal.empty()) skipped.push_back({file, read.refusal});
  return std::move(read.text);
}

std::vector<std::filesystem::path> EntriesByName(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> entries;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    entries.push_back(it->path());
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

std::optional<std::filesystem::path> EntryIgnoringCase(const std::filesystem::path& folder,
                                                       const std::string& name) {
  if (IsFolder(folder / name)) return folder / name;
  for (const std::filesystem::path& entry : EntriesByName(folder)) {
    if (SameIgnoringCase(entry.filename().string(), name) && IsFolder(entry)) return entry;
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
