#pragma once

#include <string>
#include <string_view>

// The words that only the Linux program says, together: what it found, what it was told to
// use, what it remembers, and its own part of the main window.
namespace velquin::linux_texts {

inline constexpr std::string_view kNotFound = "DF:TFD was not found in any Wine prefix.";
inline constexpr std::string_view kWhatNow =
    "Choose Folder to point Velquin at the game's prefix; Where Looked lists the places searched.";
inline constexpr std::string_view kChosenOrigin = "Chosen folder";
inline constexpr std::string_view kRememberedMark = ", remembered";

// Why a folder is not a prefix that holds the game.
inline constexpr std::string_view kNoSystemReg = "it has no system.reg that can be read";
inline constexpr std::string_view kNoGameEntry = "its registry has no entry for DF:TFD (zovur.exe)";
inline constexpr std::string_view kNoPlayerFile = "the game folder its registry names has no plyr.sav";
inline std::string NotAGamePrefix(const std::string& folder, std::string_view why) {
  return folder + " does not hold DF:TFD: " + std::string(why) + ".";
}

// The install kept from the last pick, and its config file.
inline std::string RememberedGone(const std::string& folder) {
  return "The install picked last, " + folder + ", no longer holds DF:TFD; the newest found is used.";
}
inline std::string ConfigIgnored(const std::string& file, std::string_view why) {
  return "Ignored " + file + ": " + std::string(why);
}
inline constexpr std::string_view kNotAConfig = "not a Velquin settings file";
inline constexpr std::string_view kNotRemembered = "The pick could not be kept for the next start.";

// The strip of the main window.
inline constexpr std::string_view kInstallLabel = "&Install:";
inline constexpr std::string_view kInstallName = "Install in use";
inline constexpr std::string_view kChooseFolder = "Choose &Folder...";
inline constexpr std::string_view kChooseFolderName = "Choose the Wine prefix folder";
inline constexpr std::string_view kChooseFolderTitle = "Choose the Wine prefix that holds DF:TFD";
inline constexpr std::string_view kWhereLooked = "&Where Looked...";
inline constexpr std::string_view kWhereLookedName = "Where Velquin looked for DF:TFD";
inline constexpr std::string_view kSearchedPlaces = "Velquin looks in these places:";
inline constexpr std::string_view kPlayerFileOf = "plyr.sav of ";
inline constexpr std::string_view kDiscardTitle = "Unsaved changes";
inline constexpr std::string_view kDiscardQuestion =
    "The names or messages typed here are not saved. Open the other install and discard them?";

}  // namespace velquin::linux_texts
