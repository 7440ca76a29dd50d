#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "wine/OutsideFile.h"
#include "wine/SystemReg.h"

namespace velquin {

// One Wine prefix as a 32-bit program inside it sees it: its machine registry, its ANSI code
// page and its drives, worked out once and shared by whoever asks (the search for the game,
// then the window's services).
class Prefix {
 public:
  // Reads the prefix's system.reg once and keeps the code page key and `keys` (paths below
  // HKEY_LOCAL_MACHINE) from that one read.
  static std::shared_ptr<const Prefix> Open(std::filesystem::path folder,
                                            const std::vector<std::string>& keys = {});

  const std::filesystem::path& folder() const { return folder_; }
  // Why system.reg was not read (a FIFO, a folder, too big); empty when it was, or is missing.
  const ReadProblem& registryRefusal() const { return refusal_; }

  // A key's values as they are now: from the read at Open while system.reg is unchanged and
  // the key was kept, else read afresh. Nothing when the file or the key is missing.
  std::optional<RegValues> MachineKey(const std::string& subKey) const;

  // The "ACP" of its registry, else the one Wine picks for the user's locale.
  int ansiCodePage() const { return ansiCodePage_; }
  // That code page's converter, made on first use and kept; null when Velquin cannot convert
  // it (SupportOf says why).
  const CodePage* codePage() const;

  // The file a Windows path names on the prefix's drives.
  std::optional<std::filesystem::path> FileOf(const std::string& windowsPath) const;

 private:
  explicit Prefix(std::filesystem::path folder) : folder_(std::move(folder)) {}

  std::filesystem::path folder_;
  ReadProblem refusal_;
  std::optional<FileStamp> stamp_;                        // of the system.reg read
  std::map<std::string, std::optional<RegValues>> keys_;  // by key path, in lower case
  int ansiCodePage_ = 0;
  mutable bool codePageMade_ = false;
  mutable std::unique_ptr<CodePage> codePage_;
};

// The Wine prefix whose registry and drives stand for Windows': WINEPREFIX, else ~/.wine.
std::filesystem::path WinePrefixFromEnvironment();

}  // namespace velquin
