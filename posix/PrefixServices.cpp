#include "posix/PrefixServices.h"

#include "platform/Utf8.h"
#include "posix/PosixFileAccess.h"
#include "posix/WinePrefixRegistry.h"
#include "wine/Windows1252.h"

namespace velquin {

namespace {

// Stands in for a code page Velquin cannot convert: no byte is read as a character and no
// character is written, so nothing is ever misread or half saved.
class RefusingCodePage final : public CodePage {
 public:
  char32_t ByteToChar(std::uint8_t) const override { return kReplacementChar; }
  std::optional<std::uint8_t> CharToByte(char32_t) const override { return std::nullopt; }
};

// The prefix's own table, kept alive by the prefix.
class PrefixCodePage final : public CodePage {
 public:
  explicit PrefixCodePage(std::shared_ptr<const Prefix> prefix) : prefix_(std::move(prefix)) {}
  char32_t ByteToChar(std::uint8_t byte) const override { return prefix_->codePage()->ByteToChar(byte); }
  std::optional<std::uint8_t> CharToByte(char32_t ch) const override {
    return prefix_->codePage()->CharToByte(ch);
  }

 private:
  std::shared_ptr<const Prefix> prefix_;
};

// A registry without keys: the lookup finds no game, so no player file is opened.
class EmptyRegistry final : public Registry {
 public:
  std::int32_t OpenKey(RegistryKey, const std::string&, std::uint32_t, RegistryKey&) override {
    return kRegFileNotFound;
  }
  std::int32_t QueryValue(RegistryKey, const std::string&, std::uint32_t&, std::uint8_t*,
                          std::uint32_t&) override {
    return kRegInvalidHandle;
  }
  std::int32_t CloseKey(RegistryKey) override { return kRegInvalidHandle; }
};

}  // namespace

PlatformServices MakePrefixServices(std::shared_ptr<const Prefix> prefix) {
  PlatformServices services;
  if (prefix->codePage()) {
    services.codePage = std::make_unique<PrefixCodePage>(prefix);
    services.registry = std::make_unique<WinePrefixRegistry>(prefix, *services.codePage);
  } else {
    services.codePage = std::make_unique<RefusingCodePage>();
    services.registry = std::make_unique<EmptyRegistry>();
  }
  services.files = std::make_unique<PosixFileAccess>(prefix->folder());
  return services;
}

PlatformServices MakeServicesWithoutGame() {
  PlatformServices services;
  services.codePage = std::make_unique<Windows1252>();
  services.registry = std::make_unique<EmptyRegistry>();
  services.files = std::make_unique<PosixFileAccess>("/nonexistent");
  return services;
}

}  // namespace velquin
