#include "wine/AnsiCodePageSetting.h"

#include <string>

#include "platform/Registry.h"

namespace velquin {

namespace {

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

}  // namespace

std::optional<int> AnsiCodePageIn(const std::optional<RegValues>& codePageKey) {
  if (!codePageKey) return std::nullopt;
  const auto acp = codePageKey->find(kAnsiCodePageValue);
  if (acp == codePageKey->end()) return std::nullopt;
  return CodePageNumber(acp->second);
}

}  // namespace velquin
