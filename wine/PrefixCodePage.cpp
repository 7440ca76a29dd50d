#include "wine/PrefixCodePage.h"

#include <optional>
#include <string>

#include "platform/Registry.h"
#include "wine/LocaleCodePage.h"
#include "wine/MachineKeyReader.h"

namespace velquin {

namespace {

constexpr char kCodePageKey[] = "System\\CurrentControlSet\\Control\\Nls\\CodePage";
constexpr char kAnsiCodePageValue[] = "acp";
constexpr int kMaxCodePage = 65535;

// The number a REG_SZ value holds, digits only.
std::optional<int> CodePageNumber(const RegValue& value) {
  if (value.type != kRegString) return std::nullopt;
  std::u16string digits = value.text;
  while (!digits.empty() && digits.back() == u'\0') digits.pop_back();
  if (digits.empty()) return std::nullopt;
  int number = 0;
  for (char16_t unit : digits) {
    if (unit < u'0' || unit > u'9') return std::nullopt;
    number = number * 10 + (unit - u'0');
    if (number > kMaxCodePage) return std::nullopt;
  }
  if (number == 0) return std::nullopt;
  return number;
}

std::optional<int> RegistryAnsiCodePage(const std::filesystem::path& prefix) {
  const std::optional<RegValues> values = ReadMachineKey(prefix, kCodePageKey);
  if (!values) return std::nullopt;
  const auto acp = values->find(kAnsiCodePageValue);
  if (acp == values->end()) return std::nullopt;
  return CodePageNumber(acp->second);
}

}  // namespace

int PrefixAnsiCodePage(const std::filesystem::path& prefix) {
  if (const std::optional<int> fromRegistry = RegistryAnsiCodePage(prefix)) return *fromRegistry;
  return LocaleAnsiCodePage(UserLocale());
}

}  // namespace velquin
