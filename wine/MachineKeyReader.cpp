#include "wine/MachineKeyReader.h"

#include <set>

#include "wine/OutsideFile.h"

namespace velquin {

namespace {

// A link chain is at most 16 hops long (FollowLinks), and each pass that ends on a key it did not
// ask for learns one more key of the chain.
constexpr int kMaxPasses = 18;

constexpr std::string_view kSoftware = "software\\";
constexpr std::string_view kWow6432Node = "wow6432node";

// On a 64-bit prefix a 32-bit program's HKLM\Software lies under Software\Wow6432Node.
bool IsRedirectedForThirtyTwoBits(const std::string& foldedPath) {
  return foldedPath.starts_with(kSoftware) && !foldedPath.substr(kSoftware.size()).starts_with(kWow6432Node);
}

std::string ThirtyTwoBitView(const std::string& foldedPath) {
  return std::string(kSoftware) + std::string(kWow6432Node) + "\\" + foldedPath.substr(kSoftware.size());
}

}  // namespace

std::string MachineKeyPath(const std::string& subKey) {
  std::string path = FoldCase(subKey);
  while (!path.empty() && path.front() == '\\') path.erase(path.begin());
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

std::vector<std::optional<RegValues>> MachineKeysIn(std::string_view systemReg,
                                                    const std::vector<std::string>& subKeys) {
  std::vector<std::string> paths;
  std::set<std::string> wanted;
  for (const std::string& subKey : subKeys) {
    paths.push_back(MachineKeyPath(subKey));
    wanted.insert(paths.back());
    // The keys both views share are Wow6432Node links to the 64-bit key of the same name;
    // asking for that one at once spares a second pass in the usual case.
    if (IsRedirectedForThirtyTwoBits(paths.back())) wanted.insert(ThirtyTwoBitView(paths.back()));
  }

  std::vector<std::optional<RegValues>> found(paths.size());
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    const SystemReg reg = ParseSystemReg(systemReg, wanted);
    bool learned = false;
    for (std::size_t i = 0; i < paths.size(); ++i) {
      const std::string& path = paths[i];
      const std::string view =
          reg.win64 && IsRedirectedForThirtyTwoBits(path) ? ThirtyTwoBitView(path) : path;
      const std::string target = FollowLinks(reg, view);
      // Only a key this pass asked for was read with every key on the way to it.
      if (wanted.insert(target).second) {
        learned = true;
        continue;
      }
      const auto key = reg.keys.find(target);
      found[i] = key == reg.keys.end() ? std::nullopt : std::optional<RegValues>(key->second.values);
    }
    if (!learned) return found;
  }
  return std::vector<std::optional<RegValues>>(paths.size());
}

std::optional<RegValues> ReadMachineKey(const std::filesystem::path& prefix, const std::string& subKey) {
  const OutsideFile systemReg = ReadOutsideFile(prefix / "system.reg", kMaxSystemRegSize);
  if (!systemReg.text) return std::nullopt;
  return MachineKeysIn(*systemReg.text, {subKey}).front();
}

}  // namespace velquin
