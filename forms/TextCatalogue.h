#pragma once

// Every text a player sees or hears, once, by id: in English here, in every other language in
// po/<language>.po, whose template velquin_texts (tools/texts_tool.cpp) writes from this list.
// Each entry gives the id, whether it is translated, the English text and a note for the
// translator. %s and %d are filled in order; a translation may take them in another order as
// %1$s, %2$s. Widths are at 96 DPI, in the control's font; a translation that does not fit
// must be shorter.
// clang-format off
#define VELQUIN_TEXTS(X) \
  /* The main window's title and the program's name: matched by desktop entries and window rules. */ \
  X(frmMain_Caption, Keep, "Velquin for DF:TFD", "") \
  X(ProgramName, Keep, "Velquin", "") \
  X(lblPlayer, Translate, "Character %d", "Label before a character's name box, 1 to 5; at most 65 px.") \
  X(lblMsg, Translate, "SHIFT + F%d", "Label before a chat macro's box: the hotkey that sends it, F1 to F10; at most 65 px.") \
  X(cmdHelp, Translate, "Help", "Button: shows the name editor's help window; bold, at most 60 px.") \
  X(cmdCharmap, Translate, "Charmap", "Button: opens the Windows Character Map (charmap.exe); bold, at most 90 px.") \
  X(cmdSave, Translate, "Save Names", "Button: writes the five names into the game's player file; bold, at most 90 px.") \
  X(cmdME_Closed, Translate, "Macro Editor >>", "Button: opens the macro panel below; bold, at most 114 px.") \
  X(cmdME_Open, Translate, "Macro Editor <<", "Button: closes the macro panel; bold, at most 114 px.") \
  X(cmdHelpM, Translate, "Help", "Button: shows the macro editor's help window; bold, at most 60 px.") \
  X(cmdDefault, Translate, "Default", "Button: puts the game's own ten macros back in the boxes; bold, at most 90 px.") \
  X(cmdSaveM, Translate, "Save Macros", "Button: writes the ten macros into the player file; bold, at most 90 px.") \
  X(NamesSaved, Translate, "Names saved!", "Status bar, after a save; at most 118 px.") \
  X(NamesNotSaved, Translate, "Can't save names!", "Status bar, when a save wrote nothing; at most 118 px.") \
  X(MacrosSaved, Translate, "Messages saved!", "Status bar, after the macros were saved; at most 118 px.") \
  X(MacrosNotSaved, Translate, "Can't save messages!", "Status bar, when the macros' save wrote nothing; at most 118 px.") \
  X(LookingForGame, Translate, "Looking for DF:TFD...", "Status bar while the game is searched for; at most 118 px.") \
  X(SavingNames, Translate, "Saving names...", "Status bar while a slow save runs; at most 118 px.") \
  X(SavingMacros, Translate, "Saving messages...", "Status bar while a slow save of the macros runs; at most 118 px.") \
  X(StillLooking, Translate, "Still looking for DF:TFD; save once it is found.", "Status bar, when Save is pressed before the game was found.") \
  X(SkippedOneNotAnswering, Translate, "Skipped %s: not answering", "Status bar: a folder (a sleeping network share) that did not answer.") \
  X(SkippedFoldersNotAnswering, Translate, "Skipped %d folders: not answering", "Status bar: how many folders did not answer, 2 or more. Word it so that one form suits every number (\"Folders skipped: %d\").") \
  X(frmHelp_Caption, Translate, "Name Editor - Help", "Title of the name editor's help window.") \
  X(frmHelp_lblName, Translate, "How does the name editor work?", "Heading of the name editor's help; one line of 233 px.") \
  X(frmHelp_lblEx, Translate, "The name editor allows you to use hexed chars in your player name. This can not be done in DF:TFD so that is what the name editor is for! To get all the chars, press the button \"Charmap\".", "The name editor's help: at most five lines of 241 px. \"Charmap\" is the button's caption in your language.") \
  X(frmHelpM_Caption, Translate, "Macro Editor - Help", "Title of the macro editor's help window.") \
  X(frmHelpM_lblName, Translate, "How does the macro editor work?", "Heading of the macro editor's help; one line of 233 px.") \
  X(frmHelpM_lblEx, Translate, "With the macro editor you can change the sentences that can be found under the hotkeys SHIFT + F1 to SHIFT + F10, these hotkeys only work IN DF:TFD.", "The macro editor's help: at most five lines of 241 px.") \
  X(cmdOK, Translate, "&OK", "Button that closes a help window; & marks the access key; at most 90 px.") \
  X(lblCreator, Translate, "Velquin, made by the Velquin team", "Credit line of the help windows; one line of 241 px.") \
  X(NoWindow, Translate, "Velquin could not create its window. Nothing was read or written.", "Message box of the Windows program when the system could not make its window.") \
  X(CodePageDoubleByte, Translate, "This prefix uses code page %d, a double-byte code page; Velquin edits single-byte names only.", "Status bar: the game's Wine prefix uses a code page such as 932 (Japanese).") \
  X(CodePageUtf8, Translate, "This prefix uses code page %d (UTF-8); Velquin edits single-byte names only.", "Status bar: the prefix uses UTF-8 as its code page.") \
  X(CodePageUnknown, Translate, "This prefix uses code page %d, which Velquin cannot convert; it edits names in code pages %d and %d to %d.", "Status bar: a code page Velquin has no table for; then the code pages it has, as one and a range.") \
  X(CodePageNoIconv, Translate, "This prefix uses code page %d, which this system's iconv cannot convert.", "Status bar: the system's converter (iconv) lacks this code page.") \
  X(NotFound, Translate, "DF:TFD was not found in any Wine prefix.", "Linux window: no prefix of any launcher holds the game.") \
  X(WhatNow, Translate, "Choose Folder to point Velquin at the game's prefix; Where Looked lists the places searched.", "Linux window, below NotFound: names the two buttons ChooseFolder and WhereLooked in your language, without & and dots.") \
  X(ChosenOrigin, Translate, "Chosen folder", "Linux window: where an install came from when the player chose its folder (else a launcher's name).") \
  X(NoSystemReg, Translate, "it has no system.reg that can be read", "Why a chosen folder is no prefix with the game; follows NotAGamePrefix.") \
  X(NoGameEntry, Translate, "its registry has no entry for DF:TFD (zovur.exe)", "Why a chosen folder is no prefix with the game.") \
  X(NoPlayerFile, Translate, "the game folder its registry names has no plyr.sav", "Why a chosen folder is no prefix with the game.") \
  X(NotAGamePrefix, Translate, "%s does not hold DF:TFD: %s.", "A folder, then one of NoSystemReg, NoGameEntry, NoPlayerFile.") \
  X(RememberedGone, Translate, "The install picked last, %s, no longer holds DF:TFD; the newest found is used.", "Linux window: the install kept from the last start is gone.") \
  X(ConfigIgnored, Translate, "Ignored %s: %s", "Linux window: Velquin's settings file, then why it was not read.") \
  X(NotAConfig, Translate, "not a Velquin settings file", "Why Velquin's settings file was ignored.") \
  X(NotRemembered, Translate, "The pick could not be kept for the next start.", "Linux window: the settings file could not be written.") \
  X(InstallLabel, Translate, "&Install:", "Linux window: label of the list of installs found; & marks the access key.") \
  X(InstallName, Translate, "Install in use", "Linux window: what a screen reader calls the list of installs.") \
  X(ChooseFolder, Translate, "Choose &Folder...", "Linux window: button that opens a folder dialog; & marks the access key.") \
  X(ChooseFolderName, Translate, "Choose the Wine prefix folder", "Linux window: what a screen reader calls the ChooseFolder button.") \
  X(ChooseFolderTitle, Translate, "Choose the Wine prefix that holds DF:TFD", "Linux window: title of the folder dialog, and of the message when the folder does not hold the game.") \
  X(WhereLooked, Translate, "&Where Looked...", "Linux window: button that lists where the game was looked for; & marks the access key.") \
  X(WhereLookedName, Translate, "Where Velquin looked for DF:TFD", "Linux window: what a screen reader calls the WhereLooked button, and the title of its message.") \
  X(SearchedPlaces, Translate, "Velquin looks in these places:", "Linux window and --help: above the list of launchers and their folders.") \
  X(PlacesWine, Keep, "~/.wine", "") \
  X(PlacesSteam, Translate, "steamapps/compatdata/*/pfx of every library that libraryfolders.vdf names, for native, Flatpak and Snap Steam", "--help and Where Looked: where the search finds Steam's Proton prefixes; keep the paths and file names.") \
  X(PlacesLutris, Translate, "the prefix of each game config in lutris/games (XDG config and data folders, and Flatpak's)", "--help and Where Looked: where the search finds Lutris's prefixes; keep lutris/games, XDG and Flatpak.") \
  X(PlacesBottles, Translate, "every bottle of $XDG_DATA_HOME/bottles, of a custom bottles folder, and those kept elsewhere", "--help and Where Looked: where the search finds Bottles's bottles (the name of its prefixes); keep $XDG_DATA_HOME/bottles.") \
  X(PlacesHeroic, Translate, "winePrefix of each heroic/GamesConfig/*.json, and ~/Games/Heroic/Prefixes", "--help and Where Looked: where the search finds Heroic's prefixes; keep winePrefix and the paths.") \
  X(PlacesUmu, Keep, "~/Games/umu/*", "") \
  X(PlacesWinetricks, Keep, "$XDG_DATA_HOME/wineprefixes/*", "") \
  X(PlacesPlayOnLinux, Keep, "~/.PlayOnLinux/wineprefix/*", "") \
  X(PlayerFileOf, Translate, "plyr.sav of %s", "Linux window: the player file's date and time, after the install's folder.") \
  X(DiscardTitle, Translate, "Unsaved changes", "Linux window: title of the question before another install is opened.") \
  X(DiscardQuestion, Translate, "The names or messages typed here are not saved. Open the other install and discard them?", "Linux window: the question; Yes opens the other install.") \
  X(ButtonYes, Translate, "&Yes", "Linux window: button of a question; & marks the access key.") \
  X(ButtonNo, Translate, "&No", "Linux window: button of a question; & marks the access key.") \
  X(ButtonOK, Translate, "OK", "Linux window: button that closes a message.") \
  X(ListNone, Translate, "No Wine prefix holds DF:TFD (looked in %d).", "Where Looked: no prefix holds the game; how many were opened.") \
  X(ListGames, Translate, "Wine prefixes with DF:TFD, the most recently played first:", "Where Looked: above the installs found.") \
  X(ListFrom, Translate, ", from %s", "Where Looked: after a launcher's name, the config file that named the prefix.") \
  X(ListRemembered, Translate, ", remembered", "Where Looked: after the install in use when it was kept from the last start.") \
  X(ListGameFolder, Translate, "game folder %s, plyr.sav of %s", "Where Looked: the game's folder as Windows sees it, and the player file's date and time.") \
  X(ListSkipped, Translate, "Skipped %s: %s", "Where Looked: a file or folder that was not read, and why.") \
  X(ListUses, Translate, "Velquin uses %s", "Where Looked: the prefix in use.") \
  X(ProblemFolder, Translate, "a folder, not a file", "Why a file was not read: a folder stands where the file should be.") \
  X(ProblemFifo, Translate, "a FIFO, not a file", "Why a file was not read: a named pipe stands there.") \
  X(ProblemDevice, Translate, "a device, not a file", "Why a file was not read: a device stands there.") \
  X(ProblemSocket, Translate, "a socket, not a file", "Why a file was not read: a socket stands there.") \
  X(ProblemNotRegular, Translate, "not a regular file, not a file", "Why a file was not read: something else stands there.") \
  X(ProblemTooBig, Translate, "too big (%s bytes, at most %s)", "Why a file was not read: its size and the most Velquin reads.") \
  X(ProblemNotAnswering, Translate, "not answering", "Why a folder was skipped: its file system did not answer in time.") \
  X(ProblemNotKeyValues, Translate, "not well-formed KeyValues", "Why Steam's library list was skipped (KeyValues is Valve's file format).") \
  X(ProblemNotYaml, Translate, "not YAML", "Why a Lutris or Bottles file was skipped.") \
  X(ProblemNotJson, Translate, "not JSON", "Why a Heroic file was skipped.") \
  X(HelpDescription, Translate, "Edits the five character names and the ten chat macros (SHIFT+F1..F10) in the player file\nplyr.sav of DF:TFD, installed in a Wine prefix that a launcher made.\n\nIt looks for the game in WINEPREFIX alone when that is set; otherwise in the install picked\nin its window last time, while that still holds the game, and in these places, each read\nfrom the launcher's own files (XDG_CONFIG_HOME and XDG_DATA_HOME honoured):", "--help, above the launchers' list; lines of at most 95 characters.") \
  X(HelpDescriptionEnd, Translate, "A prefix counts when its registry has the game's entry and its plyr.sav exists; of several,\nthe one whose plyr.sav was written last is used, and the window lets you pick another\nor choose a prefix folder. A place that does not answer within a few seconds (a sleeping\nshare, a stopped FUSE mount) is skipped, and --list says so.\nClose the game before saving.", "--help, below the launchers' list; lines of at most 95 characters. --list is an option: keep it.") \
  X(OptionHelp, Translate, "Show this help and exit.", "--help: the option -h, --help.") \
  X(OptionVersion, Translate, "Show the version and exit.", "--help: the option --version.") \
  X(OptionList, Translate, "List every prefix that holds the game and the one that would be used; exit 0 when one does, 1 when none does.", "--help: the option --list, whose output stays in English.") \
  X(OptionPrefix, Translate, "Use the Wine prefix DIR.", "--help: the option --prefix DIR; keep DIR.") \
  X(UnexpectedArgument, Translate, "Unexpected argument '%s'.", "Command line error, followed by TryHelp.") \
  X(TryHelp, Translate, "velquin: %s Try 'velquin --help'.", "Command line error: the error, then where to read more; keep velquin and --help.") \
  X(PrefixNeedsFolder, Translate, "velquin: --prefix needs a folder. Try 'velquin --help'.", "Command line error; keep velquin, --prefix and --help.") \
  X(NoDisplay, Translate, "velquin: no display to open its window on (DISPLAY and WAYLAND_DISPLAY); nothing was read or written.", "Error line when there is no X or Wayland display; keep velquin, DISPLAY and WAYLAND_DISPLAY.") \
  X(NoWindowLine, Translate, "velquin: could not create its window; nothing was read or written.", "Error line when Qt could not make the window; keep velquin.") \
  X(DesktopGenericName, Translate, "DF:TFD name and macro editor", "Desktop menu: what kind of program Velquin is.") \
  X(DesktopComment, Translate, "Edit the character names and chat macros of DF:TFD in its Wine or Proton prefix", "Desktop menu: tooltip of the program's entry.") \
  X(MetainfoSummary, Translate, "Edit the character names and chat macros of DF:TFD", "Software centre: the one-line summary.")
// clang-format on
