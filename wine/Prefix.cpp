#include "wine/Prefix.h"

#include <cstdlib>

#include "wine/AnsiCodePageSetting.h"
#include "wine/IconvCodePage.h"
#include "wine/LocaleCodePage.h"
#include "wine/MachineKeyReader.h"
#include "wine/WindowsPaths.h"

namespace velquin {

std::shared_ptr<const Prefix> Prefix::Open(std::filesystem::path folder,
                                           const std::vector<std::string>& keys) {
  std::shared_ptr<Prefix> prefix(new Prefix(std::move(folder)));
  std::vector<std::string> wanted = keys;
  wanted.push_back(kCodePageKey);
  const OutsideFile systemReg = ReadOutsideFile(prefix->folder_ / "system.reg", kMaxSystemRegSize);
  prefix->refusal_ = systemReg.refusal;
  prefix->stamp_ =
      systemReg.text ? std::optional<FileStamp>(systemReg.stamp) : StampOf(prefix->folder_ / "system.reg");
  const std::vector<std::optional<RegValues>> found =
      systemReg.text ? MachineKeysIn(*systemReg.text, wanted)
                     : std::vector<std::optional<RegValues>>(wanted.size());
  for (std::size_t i = 0; i < wanted.size(); ++i) prefix->keys_[MachineKeyPath(wanted[i])] = found[i];

  const std::optional<int> fromRegistry = AnsiCodePageIn(prefix->keys_[MachineKeyPath(kCodePageKey)]);
  prefix->ansiCodePage_ = fromRegistry ? *fromRegistry : LocaleAnsiCodePage(UserLocale());
  return prefix;
}

std::optional<RegValues> Prefix::MachineKey(const std::string& subKey) const {
  const auto kept = keys_.find(MachineKeyPath(subKey));
  if (kept != keys_.end() && StampOf(folder_ / "system.reg") == stamp_) return kept->second;
  return ReadMachineKey(folder_, subKey);
}

const CodePage* Prefix::codePage() const {
  if (!codePageMade_) {
    codePage_ = IconvCodePage::Open(ansiCodePage_);
    codePageMade_ = true;
  }
  return codePage_.get();
}

std::optional<std::filesystem::path> Prefix::FileOf(const std::string& windowsPath) const {
  return ResolveWindowsPath(folder_, windowsPath);
}

std::filesystem::path WinePrefixFromEnvironment() {
  if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) return prefix;
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home ? home : "") / ".wine";
}

}  // namespace velquin
