#include "wine/WinePrefix.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <system_error>
#include <vector>

namespace velquin {

namespace {

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

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

// The entry of `folder` that Wine would open for `name`: the exact one if it exists, else
// the first one equal without regard to case, else `name` itself (a file yet to be made).
std::filesystem::path MatchEntry(const std::filesystem::path& folder, const std::string& name) {
  std::error_code error;
  if (std::filesystem::exists(folder / name, error)) return folder / name;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (SameIgnoringCase(entry.path().filename().string(), name)) return entry.path();
  }
  return folder / name;
}

}  // namespace

std::filesystem::path WinePrefixFromEnvironment() {
  if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) return prefix;
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home ? home : "") / ".wine";
}

std::optional<std::filesystem::path> ResolveWindowsPath(const std::filesystem::path& prefix,
                                                        const std::string& windowsPath) {
  if (!windowsPath.empty() && windowsPath.front() == '/') {
    std::filesystem::path resolved("/");
    for (const std::string& part : SplitPath(windowsPath)) resolved /= part;
    return resolved;
  }
  const bool hasDrive = windowsPath.size() >= 2 && windowsPath[1] == ':' &&
                        std::isalpha(static_cast<unsigned char>(windowsPath[0]));
  if (!hasDrive) return std::nullopt;

  const char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath[0])));
  std::filesystem::path resolved = prefix / "dosdevices" / (std::string(1, drive) + ":");
  for (const std::string& part : SplitPath(windowsPath.substr(2))) resolved = MatchEntry(resolved, part);
  return resolved;
}

}  // namespace velquin
