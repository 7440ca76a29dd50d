#include "discovery/FileLookups.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
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
  const std::filesystem::path parts = std::filesystem::absolute(path, error).relative_path();
  if (error) return path.lexically_normal();
  // Folder by folder from the root, each opened in the one before and links followed as the
  // kernel meets them, as far as they exist; the kernel then names the last one reached. That
  // costs one look per part, where realpath(3) looks each part up along the whole path again.
  std::optional<Descriptor> reached(std::in_place, ::open("/", O_PATH | O_CLOEXEC));
  auto part = parts.begin();
  for (; reached->valid() && part != parts.end(); ++part) {
    if (part->empty()) continue;  // a trailing "/" on a folder that exists
    const int next = ::openat(reached->get(), part->c_str(), O_PATH | O_CLOEXEC);
    // A link loop, or a folder that may not be entered: the spelling is all there is.
    if (next < 0 && errno != ENOENT && errno != ENOTDIR) return path.lexically_normal();
    if (next < 0) break;
    reached.emplace(next);
  }
  if (!reached->valid()) return path.lexically_normal();
  char real[PATH_MAX];
  const std::string link = "/proc/self/fd/" + std::to_string(reached->get());
  const ssize_t length = ::readlink(link.c_str(), real, sizeof real);
  if (length == sizeof real) return path.lexically_normal();  // longer than any path the kernel takes
  if (length <= 0) {                                          // no /proc
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    return error ? path.lexically_normal() : resolved;
  }
  // The parts that do not exist (yet), as spelled.
  std::string rest(real, static_cast<std::size_t>(length));
  for (; part != parts.end(); ++part) rest.append("/").append(part->native());
  return std::filesystem::path(std::move(rest)).lexically_normal();
}

}  // namespace velquin
