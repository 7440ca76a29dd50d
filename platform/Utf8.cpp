#include "platform/Utf8.h"

#include <cstdint>

namespace velquin {

namespace {

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// Length of the sequence a lead byte starts, and the smallest code point it may carry.
struct LeadInfo {
  int length;
  char32_t initial;
  char32_t minimum;
};

LeadInfo InspectLead(unsigned char lead) {
  if (lead < 0x80) return {1, lead, 0};
  if ((lead & 0xE0) == 0xC0) return {2, char32_t(lead & 0x1F), 0x80};
  if ((lead & 0xF0) == 0xE0) return {3, char32_t(lead & 0x0F), 0x800};
  if ((lead & 0xF8) == 0xF0) return {4, char32_t(lead & 0x07), 0x10000};
  return {0, 0, 0};
}

}  // namespace

std::u32string DecodeUtf8(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const LeadInfo lead = InspectLead(static_cast<unsigned char>(text[i]));
    if (lead.length == 0 || i + lead.length > text.size()) {
      out.push_back(kReplacementChar);
      ++i;
      continue;
    }
    char32_t ch = lead.initial;
    bool valid = true;
    for (int k = 1; k < lead.length; ++k) {
      const auto byte = static_cast<unsigned char>(text[i + k]);
      if (!IsContinuation(byte)) {
        valid = false;
        break;
      }
      ch = (ch << 6) | (byte & 0x3F);
    }
    const bool surrogate = ch >= 0xD800 && ch <= 0xDFFF;
    if (!valid || ch < lead.minimum || ch > 0x10FFFF || surrogate) {
      out.push_back(kReplacementChar);
      ++i;
      continue;
    }
    out.push_back(ch);
    i += lead.length;
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t ch) {
  if (ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) ch = kReplacementChar;
  if (ch < 0x80) {
    out.push_back(static_cast<char>(ch));
  } else if (ch < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (ch >> 6)));
    out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
  } else if (ch < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (ch >> 12)));
    out.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (ch >> 18)));
    out.push_back(static_cast<char>(0x80 | ((ch >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
  }
}

void AppendUtf16(std::u16string& out, char32_t ch) {
  if (ch >= 0x10000 && ch <= 0x10FFFF) {
    ch -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (ch >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (ch & 0x3FF)));
  } else {
    out.push_back(static_cast<char16_t>(ch));
  }
}

char32_t NextUtf16(std::u16string_view units, std::size_t& index) {
  const char32_t unit = units[index++];
  const bool highHalf = unit >= 0xD800 && unit <= 0xDBFF;
  if (highHalf && index < units.size() && units[index] >= 0xDC00 && units[index] <= 0xDFFF) {
    return 0x10000 + ((unit - 0xD800) << 10) + (units[index++] - 0xDC00);
  }
  return unit;
}

std::string EncodeUtf8(std::u32string_view chars) {
  std::string out;
  out.reserve(chars.size());
  for (char32_t ch : chars) AppendUtf8(out, ch);
  return out;
}

}  // namespace velquin
