#include "wine/MachineKeyReader.h"

#include <fstream>
#include <set>
#include <string_view>

namespace velquin {

namespace {

// A link chain is at most 16 hops long (FollowLinks), and each pass that ends on a key it did not
// ask for learns one more key of the chain.
constexpr int kMaxPasses = 18;

constexpr std::string_view kSoftware = "software\\";
constexpr std::string_view kWow6432Node = "wow6432node";

std::string TrimSeparators(std::string path) {
  while (!path.empty() && path.front() == '\\') path.erase(path.begin());
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

// On a 64-bit prefix a 32-bit program's HKLM\Software lies under Software\Wow6432Node.
bool IsRedirectedForThirtyTwoBits(const std::string& foldedPath) {
  return foldedPath.starts_with(kSoftware) && !foldedPath.substr(kSoftware.size()).starts_with(kWow6432Node);
}

std::string ThirtyTwoBitView(const std::string& foldedPath) {
  return std::string(kSoftware) + std::string(kWow6432Node) + "\\" + foldedPath.substr(kSoftware.size());
}

// The whole file in one read; a file that shrinks meanwhile gives what it still holds.
std::optional<std::string> ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  if (!in) return std::nullopt;
  const std::streamoff size = in.tellg();
  if (size < 0) return std::nullopt;
  std::string text(static_cast<std::size_t>(size), '\0');
  in.seekg(0);
  in.read(text.data(), size);
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

}  // namespace

std::optional<RegValues> ReadMachineKey(const std::filesystem::path& prefix, const std::string& subKey) {
  const std::optional<std::string> text = ReadText(prefix / "system.reg");
  if (!text) return std::nullopt;

  const std::string path = FoldCase(TrimSeparators(subKey));
  // The keys both views share are Wow6432Node links to the 64-bit key of the same name; asking
  // for that one at once spares a second pass in the usual case.
  std::set<std::string> wanted = {path};
  if (IsRedirectedForThirtyTwoBits(path)) wanted.insert(ThirtyTwoBitView(path));

  for (int pass = 0; pass < kMaxPasses; ++pass) {
    const SystemReg reg = ParseSystemReg(*text, wanted);
    const std::string view = reg.win64 && IsRedirectedForThirtyTwoBits(path) ? ThirtyTwoBitView(path) : path;
    const std::string target = FollowLinks(reg, view);
    // Only a key this pass asked for was read with every key on the way to it.
    if (!wanted.insert(target).second) {
      const auto found = reg.keys.find(target);
      if (found == reg.keys.end()) return std::nullopt;
      return found->second.values;
    }
  }
  return std::nullopt;
}

}  // namespace velquin
