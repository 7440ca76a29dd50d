#include <random>

#include "core/Saves.h"
#include "core/StartupLoad.h"
#include "platform/Utf8.h"
#include "unit/PlayerFileFixture.h"

namespace velquin {
namespace {

using SavePropertyTest = testing::PlayerFileFixture;

// Characters from the whole code page, a few it lacks, and plain letters.
const std::u32string kPool = U"abcXYZ 09!*'\u00E9\u00FF\u20AC\u0081\u017D\u00A0\u2122\u0416\u4E2D";

std::string RandomText(std::mt19937& rng, bool allowForeign) {
  std::u32string chars(std::uniform_int_distribution<std::size_t>(0, 45)(rng), U'a');
  const std::size_t poolSize = allowForeign ? kPool.size() : kPool.size() - 2;
  for (char32_t& ch : chars) ch = kPool[std::uniform_int_distribution<std::size_t>(0, poolSize - 1)(rng)];
  return EncodeUtf8(chars);
}

bool Representable(const std::string& text, std::size_t limit) {
  const std::u32string chars = DecodeUtf8(text).substr(0, limit);
  return chars.find(U'\u0416') == std::u32string::npos && chars.find(U'\u4E2D') == std::u32string::npos;
}

TEST_F(SavePropertyTest, EverySaveChangesOnlyItsFieldsAndReadsBackCut) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);

  for (int round = 0; round < 300; ++round) {
    const bool fileExists = rng() % 8 != 0;
    Bytes before;
    if (fileExists) {
      before.resize(std::uniform_int_distribution<std::size_t>(0, 11000)(rng));
      for (auto& byte : before) byte = rng() % 4 == 0 ? 0 : static_cast<std::uint8_t>(rng());
      WriteFile(before);
    } else {
      std::filesystem::remove(PlayerFile());
    }
    const bool names = rng() % 2 == 0;
    const bool allowForeign = rng() % 4 == 0;

    std::vector<std::string> texts(names ? kNameSlots : kMacroSlots);
    for (auto& text : texts) text = RandomText(rng, allowForeign);
    const FieldLimit limit = names ? kNameField : kMacroField;
    bool allRepresentable = true;
    for (const auto& text : texts) allRepresentable = allRepresentable && Representable(text, limit.maxChars);

    SaveOutcome outcome{};
    if (names) {
      std::array<std::string, kNameSlots> slots;
      std::copy(texts.begin(), texts.end(), slots.begin());
      outcome = SaveNames(GamePath(), slots, files_, codePage_);
    } else {
      std::array<std::string, kMacroSlots> slots;
      std::copy(texts.begin(), texts.end(), slots.begin());
      outcome = SaveMacros(GamePath(), slots, files_, codePage_);
    }
    ASSERT_EQ(outcome.saved, allRepresentable) << "round " << round;

    if (!outcome.saved) {
      if (fileExists) {
        ASSERT_EQ(ReadFile(), before) << "round " << round;
      } else {
        ASSERT_FALSE(std::filesystem::exists(PlayerFile())) << "round " << round;
      }
      continue;
    }

    // Every byte a save may not write keeps its value (or reads zero where the file grew).
    const Bytes after = ReadFile();
    std::vector<bool> writable(after.size() + 1, false);
    std::size_t end = 0;
    for (std::size_t slot = 0; slot < texts.size(); ++slot) {
      const std::size_t start =
          (names ? NamePosition(static_cast<int>(slot)) : MacroPosition(static_cast<int>(slot))) - 1;
      const std::size_t length =
          std::min(DecodeUtf8(texts[slot]).substr(0, limit.maxChars).size() + 2, limit.maxBytes);
      for (std::size_t i = start; i < start + length && i < writable.size(); ++i) writable[i] = true;
      end = std::max(end, start + length);
    }
    ASSERT_EQ(after.size(), std::max(before.size(), end)) << "round " << round;
    for (std::size_t i = 0; i < after.size(); ++i) {
      if (writable[i]) continue;
      ASSERT_EQ(after[i], i < before.size() ? before[i] : 0) << "round " << round << " offset " << i;
    }

    const NamesAndMacros loaded = LoadNamesAndMacros(GamePath(), files_, codePage_);
    for (std::size_t slot = 0; slot < texts.size(); ++slot) {
      const std::string expected = EncodeUtf8(DecodeUtf8(texts[slot]).substr(0, limit.maxChars));
      const std::string& got = names ? loaded.names[slot] : loaded.macros[slot];
      // A 39-character macro has no second zero byte: it reads on into the next slot's text.
      ASSERT_TRUE(got.starts_with(expected)) << "round " << round << " slot " << slot;
      if (names || DecodeUtf8(expected).size() < kMacroLimit) {
        ASSERT_EQ(got, expected) << "round " << round;
      }
    }
  }
}

}  // namespace
}  // namespace velquin
