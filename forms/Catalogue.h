#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "forms/TextCatalogue.h"

namespace velquin {

#define VELQUIN_TEXT_ID(id, keep, english, note) id,
enum class TextId : std::uint16_t { VELQUIN_TEXTS(VELQUIN_TEXT_ID) };
#undef VELQUIN_TEXT_ID
#define VELQUIN_TEXT_COUNT(id, keep, english, note) +1
inline constexpr std::size_t kTextCount = 0 VELQUIN_TEXTS(VELQUIN_TEXT_COUNT);
#undef VELQUIN_TEXT_COUNT

// One entry of the catalogue as written, for the template and the checks.
struct TextSource {
  std::string_view id;
  bool translated;  // false for the program's name, which every language keeps
  std::string_view english;
  std::string_view note;
};
std::span<const TextSource, kTextCount> TextSources();

// The texts of one language, each id's translation or, where it has none, its English.
class Catalogue {
 public:
  static const Catalogue& English();
  // The language the player reads: the first of `preferred` (language tags such as "de-DE",
  // "pt_BR.UTF-8" or "ru", the most preferred first) that Velquin speaks, by the whole tag and
  // then by its language alone; English when none matches.
  static const Catalogue& For(std::span<const std::string> preferred);
  // The languages compiled in, English first, by their PO file's name ("de", "pt_BR").
  static std::span<const Catalogue> All();

  std::string_view tag() const { return tag_; }
  std::string_view operator[](TextId id) const { return texts_[static_cast<std::size_t>(id)]; }
  // The text with its %s and %d (or %1$s, %2$d...) filled by `values` in order.
  std::string Format(TextId id, std::initializer_list<std::string_view> values) const;

  Catalogue(std::string_view tag, std::span<const unsigned char> mo);

 private:
  std::string_view tag_;
  std::array<std::string_view, kTextCount> texts_{};
};

// `text` with its %s and %d (or %1$s, %2$d...) filled by `values`; "%%" is one %.
std::string Fill(std::string_view text, std::span<const std::string_view> values);

// The PO files as msgfmt compiled them, linked in at build time; English has none.
struct CompiledLanguage {
  std::string_view tag;
  std::span<const unsigned char> mo;
};
std::span<const CompiledLanguage> CompiledLanguages();

}  // namespace velquin
