#include "wine/WindowsPaths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <vector>

#include "platform/AsciiCase.h"
#include "platform/PosixHandles.h"
#include "platform/Utf8.h"

namespace velquin {

namespace {

// Windows takes no path longer than this many UTF-16 units.
constexpr std::size_t kMaxWindowsPath = 32767;

bool LongerThanWindowsAllows(const std::string& path) {
  if (path.size() <= kMaxWindowsPath) return false;  // no UTF-8 byte makes more than one unit
  std::size_t units = 0;
  for (char32_t c : DecodeUtf8(path)) units += c > 0xFFFF ? 2 : 1;
  return units > kMaxWindowsPath;
}

// The folder and file names of a path, with "." dropped and ".." taking back the name before
// it: as on Windows, a path never climbs above the root it starts from.
std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  const auto take = [&parts](const std::string& name) {
    if (name == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!name.empty() && name != ".") {
      parts.push_back(name);
    }
  };
  for (char c : path) {
    if (c == '\\' || c == '/') {
      take(part);
      part.clear();
    } else {
      part.push_back(c);
    }
  }
  take(part);
  return parts;
}

// A folder opened only to look names up in: that needs no right to read it.
int OpenFolderAt(int folder, const char* name) {
  return ::openat(folder, name, O_PATH | O_DIRECTORY | O_CLOEXEC);
}

// The first entry of `folder`, in the order it lists them, equal to `name` without regard to
// case; nothing when none is or the folder cannot be listed.
std::optional<std::string> ListedIgnoringCase(int folder, const std::string& name) {
  Descriptor listing(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!listing.valid()) return std::nullopt;
  const Directory entries(::fdopendir(listing.get()));
  if (!entries.valid()) return std::nullopt;
  listing.release();  // closed with the listing
  while (const dirent* entry = ::readdir(entries.get())) {
    const std::string_view entryName = entry->d_name;
    if (entryName != "." && entryName != ".." && SameIgnoringCase(entryName, name))
      return std::string(entryName);
  }
  return std::nullopt;
}

// The entry of `folder` that Wine would open for `name`: the exact one if it exists, else
// the first one equal without regard to case, else `name` itself (a file yet to be made).
std::string MatchEntry(const Descriptor& folder, const std::string& name) {
  struct stat info {};
  if (!folder.valid() || ::fstatat(folder.get(), name.c_str(), &info, 0) == 0) return name;
  return ListedIgnoringCase(folder.get(), name).value_or(name);
}

}  // namespace

std::optional<std::filesystem::path> ResolveWindowsPath(const std::filesystem::path& prefix,
                                                        const std::string& windowsPath) {
  if (LongerThanWindowsAllows(windowsPath)) return std::nullopt;
  if (!windowsPath.empty() && windowsPath.front() == '/') {
    std::string resolved;
    for (const std::string& part : SplitPath(windowsPath)) resolved.append("/").append(part);
    return std::filesystem::path(resolved.empty() ? "/" : resolved);
  }
  const bool hasDrive = windowsPath.size() >= 2 && windowsPath[1] == ':' && IsAsciiLetter(windowsPath[0]);
  if (!hasDrive) return std::nullopt;

  std::string resolved = (prefix / "dosdevices" / std::string{FoldAscii(windowsPath[0]), ':'}).string();
  // Each name is looked up in the folder that the name before it opened, never along the
  // whole path again, so that a walk costs the same for every name however deep it goes.
  // Links are followed where the kernel meets them; once a folder is missing, the names
  // after it stay as given.
  Descriptor folder(::open(resolved.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  for (const std::string& part : SplitPath(windowsPath.substr(2))) {
    const std::string name = MatchEntry(folder, part);
    resolved.append("/").append(name);
    if (folder.valid()) folder.reset(OpenFolderAt(folder.get(), name.c_str()));
  }
  return std::filesystem::path(std::move(resolved));
}

}  // namespace velquin
