#include "forms/Catalogue.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace velquin {

namespace {

#define VELQUIN_TEXT_SOURCE(id, keep, english, note) \
  TextSource{#id, std::string_view(#keep) == "Translate", english, note},
constexpr std::array<TextSource, kTextCount> kSources = {VELQUIN_TEXTS(VELQUIN_TEXT_SOURCE)};
#undef VELQUIN_TEXT_SOURCE

// A compiled PO file (GNU MO): a header, then two tables of (length, offset) pairs, the
// originals sorted by their bytes and the translations in the same order. The build keys each
// message by its id (cmake/po_by_id.awk).
class MoFile {
 public:
  explicit MoFile(std::span<const unsigned char> bytes) : bytes_(bytes) {
    const std::uint32_t magic = Word(0);
    swapped_ = magic == 0xde120495;
    if (magic != 0x950412de && !swapped_) return;
    count_ = Word(8);
    originals_ = Word(12);
    translations_ = Word(16);
  }

  // The translation of `key`, or nothing; every table entry and string is checked to lie
  // within the bytes, NUL included.
  std::string_view Find(std::string_view key) const {
    std::uint32_t low = 0, high = count_;
    while (low < high) {
      const std::uint32_t middle = low + (high - low) / 2;
      const std::string_view original = String(originals_, middle);
      if (original.data() == nullptr) return {};
      const int order = original.compare(key);
      if (order == 0) return String(translations_, middle);
      if (order < 0) {
        low = middle + 1;
      } else {
        high = middle;
      }
    }
    return {};
  }

 private:
  std::uint32_t Word(std::size_t at) const {
    if (at > bytes_.size() || bytes_.size() - at < 4) return 0;
    std::uint32_t word = 0;
    std::memcpy(&word, bytes_.data() + at, 4);
    return swapped_ ? __builtin_bswap32(word) : word;
  }
  std::string_view String(std::uint32_t table, std::uint32_t index) const {
    const std::uint64_t entry = table + std::uint64_t{8} * index;
    if (entry + 8 > bytes_.size()) return {};
    const std::uint64_t length = Word(entry), offset = Word(entry + 4);
    if (offset + length >= bytes_.size() || bytes_[offset + length] != 0) return {};
    return {reinterpret_cast<const char*>(bytes_.data() + offset), static_cast<std::size_t>(length)};
  }

  std::span<const unsigned char> bytes_;
  bool swapped_ = false;
  std::uint32_t count_ = 0, originals_ = 0, translations_ = 0;
};

// "pt-BR", "pt_BR.UTF-8" and "pt_BR@euro" alike as "pt_br"; and its language alone, "pt".
std::string Normalized(std::string_view tag) {
  tag = tag.substr(0, tag.find_first_of(".@"));
  std::string normal;
  for (const char c : tag)
    normal += c == '-' ? '_' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return normal;
}
std::string_view LanguageOf(std::string_view normal) {
  return normal.substr(0, normal.find('_'));
}

}  // namespace

std::span<const TextSource, kTextCount> TextSources() {
  return kSources;
}

Catalogue::Catalogue(std::string_view tag, std::span<const unsigned char> mo) : tag_(tag) {
  const MoFile file(mo);
  for (std::size_t i = 0; i < kTextCount; ++i) {
    texts_[i] = kSources[i].english;
    const std::string_view translation =
        kSources[i].translated && !mo.empty() ? file.Find(kSources[i].id) : "";
    if (!translation.empty()) texts_[i] = translation;
  }
}

std::span<const Catalogue> Catalogue::All() {
  static const std::vector<Catalogue> all = [] {
    std::vector<Catalogue> languages{Catalogue("en", {})};
    for (const CompiledLanguage& language : CompiledLanguages())
      languages.emplace_back(language.tag, language.mo);
    return languages;
  }();
  return all;
}

const Catalogue& Catalogue::English() {
  return All().front();
}

const Catalogue& Catalogue::For(std::span<const std::string> preferred) {
  for (const std::string& tag : preferred) {
    const std::string wanted = Normalized(tag);
    if (wanted == "c" || wanted == "posix") return English();
    for (const Catalogue& language : All())
      if (Normalized(language.tag()) == wanted) return language;
    for (const Catalogue& language : All()) {
      const std::string spoken = Normalized(language.tag());
      if (LanguageOf(spoken) == LanguageOf(wanted)) return language;
    }
  }
  return English();
}

std::string Catalogue::Format(TextId id, std::initializer_list<std::string_view> values) const {
  return Fill((*this)[id], std::span(values.begin(), values.size()));
}

std::string Fill(std::string_view text, std::span<const std::string_view> values) {
  std::string out;
  std::size_t next = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    std::size_t at = i + 1, position = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
      position = position * 10 + static_cast<std::size_t>(text[at++] - '0');
    const bool numbered = position > 0 && at < text.size() && text[at] == '$';
    if (numbered) ++at;
    if (at < text.size() && (text[at] == 's' || text[at] == 'd') && (numbered || at == i + 1)) {
      const std::size_t index = numbered ? position - 1 : next++;
      if (index < values.size()) out += values[index];
      i = at;
    } else if (text[at] == '%' && at == i + 1) {
      out += '%';
      i = at;
    } else {
      out += '%';
    }
  }
  return out;
}

}  // namespace velquin
