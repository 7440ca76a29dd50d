#include "discovery/FileLookups.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <system_error>

#include "platform/AsciiCase.h"
#include "platform/PosixHandles.h"
#include "wine/OutsideFile.h"

namespace velquin {

bool IsFolder(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

bool FolderThere(const std::filesystem::path& path, std::vector<SkippedFile>& skipped) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  if (errno != ENOENT && errno != ENOTDIR) skipped.push_back({path, SystemProblem(errno)});
  return false;
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
  if (read.refusal) skipped.push_back({file, read.refusal});
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
    skipped.push_back({folder, SystemProblem(error.value())});
  std::sort(entries.begin(), entries.end());
  std::erase_if(entries, [&skipped](const std::filesystem::path& entry) {
    if (!IsFolder(entry) || ::faccessat(AT_FDCWD, entry.c_str(), X_OK, AT_EACCESS) == 0) return false;
    skipped.push_back({entry, SystemProblem(errno)});
    return true;
  });
  return entries;
}

std::vector<std::filesystem::path> EntriesByName(const std::filesystem::path& folder) {
  std::vector<SkippedFile> unsaid;
  return EntriesByName(folder, unsaid);
}

std::optional<std::filesystem::path> EntryIgnoringCase(const std::filesystem::path& folder,
                                                       const std::string& name,
                                                       std::vector<SkippedFile>* skipped) {
  if (IsFolder(folder / name)) return folder / name;
  std::vector<SkippedFile> unlisted;
  for (const std::filesystem::path& entry : EntriesByName(folder, unlisted)) {
    if (SameIgnoringCase(entry.filename().string(), name) && IsFolder(entry)) return entry;
  }
  // Only the folder's own failure: what is in it is not asked for.
  if (skipped && !unlisted.empty() && unlisted.front().file == folder) skipped->push_back(unlisted.front());
  return std::nullopt;
}

namespace {

// The path by which the kernel knows an open file: empty without /proc, or when it is longer
// than any path the kernel takes.
std::string KernelPath(const Descriptor& file) {
  char path[PATH_MAX];
  const std::string link = "/proc/self/fd/" + std::to_string(file.get());
  const ssize_t length = ::readlink(link.c_str(), path, sizeof path);
  return length > 0 && length < static_cast<ssize_t>(sizeof path) ? std::string(path, length) : "";
}

bool IsMissing(int error) {
  return error == ENOENT || error == ENOTDIR;
}

}  // namespace

std::filesystem::path RealPath(const std::filesystem::path& path) {
  std::error_code error;
  // A link loop, a folder that may not be entered, a path longer than the kernel takes: the
  // spelling is all there is.
  const std::filesystem::path normal = path.lexically_normal();
  const std::filesystem::path whole = std::filesystem::absolute(path, error);
  if (error) return normal;
  if (const Descriptor file(::open(whole.c_str(), O_PATH | O_CLOEXEC)); file.valid()) {
    const std::string real = KernelPath(file);
    if (!real.empty()) return real;
  } else if (!IsMissing(errno)) {
    return normal;
  }
  // Not all there: folder by folder from the root, each opened in the one before (one look
  // per part, where realpath(3) looks each part up along the whole path again), as far as
  // they exist; the kernel names the last one reached, and the rest follows as spelled.
  const std::filesystem::path parts = whole.relative_path();
  Descriptor reached(::open("/", O_PATH | O_CLOEXEC));
  auto part = parts.begin();
  for (; part != parts.end(); ++part) {
    if (part->empty()) continue;  // a trailing "/"
    const int next = ::openat(reached.get(), part->c_str(), O_PATH | O_CLOEXEC);
    if (next < 0 && !IsMissing(errno)) return normal;
    if (next < 0) break;
    reached.reset(next);
  }
  std::string real = reached.valid() ? KernelPath(reached) : "";
  if (real.empty()) {  // no /proc
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    return error ? normal : resolved;
  }
  for (; part != parts.end(); ++part) real.append("/").append(part->native());
  return std::filesystem::path(std::move(real)).lexically_normal();
}

}  // namespace velquin
