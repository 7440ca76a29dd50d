#pragma once

// What the user does in the three windows and what must follow, as rows, run by both real
// toolkits over a driver with these verbs (window by caption, control by tab index, texts in
// UTF-8): Store, PointGameAt, Start, Stop, Type, Press, Key, Hover, Activate, Close, Text, Visible,
// Underlined, Focus, Name, Windows, Active, Rect, Dpi, File, Wait, Screenshot.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <sstream>

#include "cases/SaveCases.h"
#include "forms/HelpForm.h"
#include "forms/frmMainDesign.h"
#include "platform/WindowRules.h"

namespace velquin::cases {

inline constexpr const char* kMain = "Velquin for DF:TFD";
inline constexpr const char* kHelp = "Name Editor - Help";
inline constexpr const char* kHelpM = "Macro Editor - Help";

// clang-format off
enum class Do {
  Game, NoGame, Start, Type, Press, Key, Hover, Activate, Close,                   // what the user does
  Text, Shown, Hidden, Underlined, Plain, Focus, Name, Windows, Active, Walk, Layout, Shot  // what follows
};
// clang-format on

struct Step {
  Do what;
  const char* window = kMain;
  ControlId id = kNoControl;  // Windows: the count; Layout: the client height
  std::string text = "";      // Walk: the texts of the controls Tab stops at, split by '|'
};

struct Scenario {
  const char* name;
  std::vector<Step> steps;
};

namespace d = frmMainDesign;
using H = HelpDesign;

// clang-format off
inline const Scenario kScenarios[] = {
    {"the start-up load fills the boxes, the macro panel closed, the first name focused",
     {{Do::Start}, {Do::Text, kMain, d::StatusBar, ""}, {Do::Hidden, kMain, d::gln}, {Do::Hidden, kMain, d::wln},
      {Do::Focus, kMain, d::txtPlayer(0)}, {Do::Layout, kMain, 3045}, {Do::Shot, kMain, 0, "main-window"}}},
    {"the macro panel opens and closes, keeping what was typed",
     {{Do::Start}, {Do::Press, kMain, d::cmdME}, {Do::Shown, kMain, d::gln}, {Do::Shown, kMain, d::wln},
      {Do::Layout, kMain, 7260}, {Do::Shot, kMain, 0, "main-window-macro-panel"},
      {Do::Type, kMain, d::txtMsg(3), "typed"}, {Do::Press, kMain, d::cmdME}, {Do::Hidden, kMain, d::txtMsg(3)},
      {Do::Hidden, kMain, d::gln}, {Do::Text, kMain, d::txtMsg(3), "typed"}, {Do::Layout, kMain, 3045}}},
    {"Tab walks the name editor, then the open macro panel",
     {{Do::Start}, {Do::Walk, kMain, 0, "Alpha|B\u00E9ta|Gamma|Delta|Epsilon|Help|Charmap|Save Names|Macro Editor >>|Alpha"},
      {Do::Press, kMain, d::cmdME},
      {Do::Walk, kMain, 0, "Alpha|B\u00E9ta|Gamma|Delta|Epsilon|Help|Charmap|Save Names|Macro Editor <<|macro 0|macro 1|"
                           "macro 2|macro 3|macro 4|macro 5|macro 6|macro 7|macro 8|macro 9|Help|Default|Save Macros|Alpha"}}},
    {"screen readers name each box by its label",
     {{Do::Start}, {Do::Press, kMain, d::cmdME}, {Do::Name, kMain, d::txtPlayer(0), "Character 1"},
      {Do::Name, kMain, d::txtPlayer(4), "Character 5"}, {Do::Name, kMain, d::txtMsg(0), "SHIFT + F1"},
      {Do::Name, kMain, d::txtMsg(9), "SHIFT + F10"}, {Do::Name, kMain, d::cmdSave, "Save Names"},
      {Do::Press, kMain, d::cmdHelp}, {Do::Name, kHelp, H::cmdOK, "OK"}}},
    {"a help window is shown again rather than made twice; its link underlines under the pointer",
     {{Do::Start}, {Do::Press, kMain, d::cmdHelp}, {Do::Active, kHelp}, {Do::Layout, kHelp, 3030},
      {Do::Text, kHelp, H::lblName, "How does the name editor work?"},
      {Do::Text, kHelp, H::lblEx,
       "The name editor allows you to use hexed chars in your player name. This can not be done in DF:TFD so "
       "that is what the name editor is for! To get all the chars, press the button \"Charmap\"."},
      {Do::Text, kHelp, H::lblURL, "https://velquin.io"}, {Do::Text, kHelp, H::cmdOK, "&OK"},
      {Do::Shot, kHelp, 0, "help-window"}, {Do::Hover, kHelp, kFormBackground}, {Do::Plain, kHelp, H::lblURL},
      {Do::Hover, kHelp, H::lblURL}, {Do::Underlined, kHelp, H::lblURL}, {Do::Hover, kHelp, H::lblEx},
      {Do::Underlined, kHelp, H::lblURL}, {Do::Activate, kMain}, {Do::Active, kMain},
      {Do::Press, kMain, d::cmdHelp}, {Do::Active, kHelp}, {Do::Windows, kHelp, 1},
      {Do::Hover, kHelp, kFormBackground}, {Do::Plain, kHelp, H::lblURL}}},
    {"a help window closes with OK, Enter, Escape, its close button and the main window",
     {{Do::Start}, {Do::Press, kMain, d::cmdHelp}, {Do::Press, kHelp, H::cmdOK}, {Do::Windows, kHelp, 0},
      {Do::Press, kMain, d::cmdHelp}, {Do::Key, kHelp, 0, "Enter"}, {Do::Windows, kHelp, 0},
      {Do::Press, kMain, d::cmdME}, {Do::Press, kMain, d::cmdHelpM},
      {Do::Text, kHelpM, H::lblName, "How does the macro editor work?"},
      {Do::Text, kHelpM, H::lblEx,
       "With the macro editor you can change the sentences that can be found under the hotkeys SHIFT + F1 "
       "to SHIFT + F10, these hotkeys only work IN DF:TFD."},
      {Do::Shot, kHelpM, 0, "help-window-macros"}, {Do::Focus, kHelpM, H::cmdOK}, {Do::Key, kHelpM, 0, "Escape"},
      {Do::Windows, kHelpM, 0}, {Do::Press, kMain, d::cmdHelpM}, {Do::Close, kHelpM}, {Do::Windows, kHelpM, 0},
      {Do::Press, kMain, d::cmdHelp}, {Do::Press, kMain, d::cmdHelpM}, {Do::Windows, kHelpM, 1},
      {Do::Close, kMain}, {Do::Windows, kHelp, 0}, {Do::Windows, kHelpM, 0}, {Do::Windows, kMain, 0}}},
    {"with no game entry nothing is read or saved; each save looks the game up afresh",
     {{Do::NoGame}, {Do::Start}, {Do::Text, kMain, d::txtPlayer(0), ""}, {Do::Text, kMain, d::txtMsg(0), ""},
      {Do::Press, kMain, d::cmdSave}, {Do::Text, kMain, d::StatusBar, "Can't save names!"}, {Do::Game},
      {Do::Press, kMain, d::cmdSave}, {Do::Text, kMain, d::StatusBar, "Names saved!"}, {Do::NoGame},
      {Do::Press, kMain, d::cmdME}, {Do::Press, kMain, d::cmdSaveM},
      {Do::Text, kMain, d::StatusBar, "Can't save messages!"}}},
};

// The windows in the player's language (Start's text: a language as the system gives it),
// the macro panel's toggle working on its translated caption.
inline const char* const kHilfe = "Namenseditor - Hilfe";
inline const char* const kSpravka = "Редактор имён — справка";
inline const Scenario kLanguageScenarios[] = {
    {"in German: captions, names for screen readers, a save's message and a help window",
     {{Do::Start, kMain, 0, "de_DE.UTF-8"}, {Do::Text, kMain, d::lblPlayer(0), "Figur 1"},
      {Do::Name, kMain, d::txtPlayer(0), "Figur 1"}, {Do::Text, kMain, d::cmdSave, "Speichern"},
      {Do::Name, kMain, d::cmdSave, "Speichern"}, {Do::Text, kMain, d::cmdME, "Makro-Editor >>"},
      {Do::Press, kMain, d::cmdME}, {Do::Text, kMain, d::cmdME, "Makro-Editor <<"}, {Do::Layout, kMain, 7260},
      {Do::Name, kMain, d::txtMsg(9), "SHIFT + F10"}, {Do::Press, kMain, d::cmdSave},
      {Do::Text, kMain, d::StatusBar, "Namen gespeichert!"}, {Do::Press, kMain, d::cmdHelp},
      {Do::Text, kHilfe, H::lblName, "Wie funktioniert der Namenseditor?"}, {Do::Name, kHilfe, H::cmdOK, "OK"},
      {Do::Press, kMain, d::cmdME}, {Do::Layout, kMain, 3045}}},
    {"in Russian: Cyrillic captions, names, a save's message and a help window",
     {{Do::Start, kMain, 0, "ru_RU.UTF-8"}, {Do::Text, kMain, d::lblPlayer(4), "Персонаж 5"},
      {Do::Name, kMain, d::txtPlayer(4), "Персонаж 5"}, {Do::Text, kMain, d::cmdSave, "Сохранить"},
      {Do::Text, kMain, d::cmdME, "Макросы >>"}, {Do::Press, kMain, d::cmdME},
      {Do::Text, kMain, d::cmdME, "Макросы <<"}, {Do::Press, kMain, d::cmdSaveM},
      {Do::Text, kMain, d::StatusBar, "Фразы сохранены!"}, {Do::Press, kMain, d::cmdHelp},
      {Do::Text, kSpravka, H::lblName, "Как работает редактор имён?"}, {Do::Name, kSpravka, H::cmdOK, "OK"},
      {Do::Press, kMain, d::cmdME}, {Do::Layout, kMain, 3045}}},
};
// clang-format on

inline const FormDesign& DesignOf(const char* window) {
  static const HelpDesign help(HelpTexts::frmHelp(Catalogue::English()), Catalogue::English());
  static const frmMainDesign::MainDesign main(Catalogue::English());
  return window == std::string(kMain) ? main.form : help.form;
}

// Every caption of a language, and each status message that the first panel is made to hold, as
// the control that must hold it: the panel as a label 60 twips narrower, for its edges.
struct TextsToFit {
  explicit TextsToFit(const Catalogue& words)
      : main(words), help(HelpTexts::frmHelp(words), words), helpM(HelpTexts::frmHelpM(words), words) {
    for (const FormDesign* form : {&main.form, &help.form, &helpM.form})
      for (const ControlDesign& c : form->controls)
        if (!c.caption.empty() && (c.kind == ControlKind::Label || c.kind == ControlKind::CommandButton))
          controls.push_back(c);
    ControlDesign open = main.controls[frmMainDesign::cmdME];
    open.caption = words[TextId::cmdME_Open];
    controls.push_back(open);
    for (const TextId id :
         {TextId::NamesSaved, TextId::NamesNotSaved, TextId::MacrosSaved, TextId::MacrosNotSaved,
          TextId::LookingForGame, TextId::SavingNames, TextId::SavingMacros})
      controls.push_back(
          {frmMainDesign::StatusBar, "Panels(1)", -1, ControlKind::Label, 0, 0, 1840 - 60, 255, words[id]});
  }
  const frmMainDesign::MainDesign main;
  const HelpDesign help, helpM;
  std::vector<ControlDesign> controls;
};

// Where a separator line shows its colour when it is drawn: 600 twips in, at its last row.
struct LinePixel {
  int x, y;
  std::uint32_t rgb;
};
inline std::optional<LinePixel> LineAt(const char* window, ControlId id, double dpi) {
  for (const ControlDesign& c : DesignOf(window).controls) {
    if (c.id != id || c.kind != ControlKind::Line) continue;
    const int rows = static_cast<int>(std::lround(c.lineWidthPixels * dpi / 96));
    return LinePixel{static_cast<int>(600 * dpi / 1440),
                     static_cast<int>(std::lround(c.top * dpi / 1440)) + rows - 1, c.color};
  }
  return std::nullopt;
}

// Every control where its twips say at the window's DPI, within a pixel, the status bar
// docked to the bottom of a client area `clientHeight` high.
template <class App>
void ExpectLayout(App& app, const char* window, int clientHeight) {
  const FormDesign& design = DesignOf(window);
  const double dpi = app.Dpi(window);
  const auto px = [dpi](int twips) { return twips * dpi / 1440; };
  const PixelRect client = app.Rect(window, kFormBackground);
  EXPECT_NEAR(client.right - client.left, px(design.clientWidth), 1);
  EXPECT_NEAR(client.bottom - client.top, px(clientHeight), 1);
  for (const ControlDesign& c : design.controls) {
    if (c.kind == ControlKind::Line) continue;
    const int top = c.kind == ControlKind::StatusBar ? clientHeight - c.height : c.top;
    const PixelRect r = app.Rect(window, c.id);
    EXPECT_NEAR(r.left, px(c.left), 1) << c.name << c.index;
    EXPECT_NEAR(r.top, px(top), 1) << c.name << c.index;
    EXPECT_NEAR(r.right, px(c.left + c.width), 1) << c.name << c.index;
    EXPECT_NEAR(r.bottom, px(top + c.height), 1) << c.name << c.index;
  }
}

// Waits, up to two seconds, for what the program does in its own time (a save reports from its
// worker), then gives what there is.
template <class App, class Get, class Want>
auto Awaited(App& app, Get get, const Want& want) {
  for (int i = 0; i < 80 && get() != want; ++i) app.Wait();
  return get();
}

template <class App>
void Run(App& app, const Step& s) {
  const auto holds = [&](auto get, const auto& want) {
    EXPECT_EQ(Awaited(app, get, want), want)
        << "step " << static_cast<int>(s.what) << " in " << s.window << ", control " << s.id;
  };
  switch (s.what) {
    case Do::Game:
    case Do::NoGame:
      return app.PointGameAt(s.what == Do::Game);
    case Do::Start:
      if (!app.UseLanguage(s.text)) FAIL() << "the program cannot be started in " << s.text;
      if (!app.Start()) FAIL() << "the program showed no main window";
      return;
    case Do::Type:
      return app.Type(s.window, s.id, s.text);
    case Do::Press:
      return app.Press(s.window, s.id);
    case Do::Key:
      return app.Key(s.window, s.text);
    case Do::Hover:
      return app.Hover(s.window, s.id);
    case Do::Activate:
      return app.Activate(s.window);
    case Do::Close:
      EXPECT_TRUE(app.Close(s.window)) << s.window;
      return;
    case Do::Text:
      return holds([&] { return app.Text(s.window, s.id); }, s.text);
    case Do::Shown:
    case Do::Hidden:
      return holds([&] { return app.Visible(s.window, s.id); }, s.what == Do::Shown);
    case Do::Underlined:
    case Do::Plain:
      return holds([&] { return app.Underlined(s.window, s.id); }, s.what == Do::Underlined);
    case Do::Focus:
      return holds([&] { return app.Focus(s.window); }, s.id);
    case Do::Name:
      return holds([&] { return app.Name(s.window, s.id); }, s.text);
    case Do::Windows:
      return holds([&] { return app.Windows(s.window); }, s.id);
    case Do::Active:
      return holds([&] { return app.Active(s.window); }, true);
    case Do::Layout:
      return ExpectLayout(app, s.window, s.id);
    case Do::Shot:
      return app.Screenshot(s.window, s.text);
    case Do::Walk: {
      std::vector<std::string> expected, walked;
      std::istringstream stops(s.text);
      for (std::string text; std::getline(stops, text, '|');) expected.push_back(text);
      const auto stop = [&] { return app.Text(s.window, app.Focus(s.window)); };
      for (int i = 0; i < 40 && stop() != expected.front(); ++i) app.Key(s.window, "Tab");
      for (walked.push_back(stop()); walked.size() < expected.size(); walked.push_back(stop()))
        app.Key(s.window, "Tab");
      EXPECT_EQ(walked, expected);
    }
  }
}

template <class App>
void RunScenarios(App& app) {
  for (const Scenario& scenario : kScenarios) {
    SCOPED_TRACE(scenario.name);
    app.Store(StoredPlayerFile());
    app.PointGameAt(true);
    for (const Step& step : scenario.steps) {
      Run(app, step);
      if (::testing::Test::HasFatalFailure()) return;
    }
    app.Stop();
  }
}

// The rows of kLanguageScenarios in the languages the app can be started in; how many ran.
template <class App>
int RunLanguageScenarios(App& app) {
  int ran = 0;
  for (const Scenario& scenario : kLanguageScenarios) {
    if (!app.UseLanguage(scenario.steps.front().text)) continue;
    SCOPED_TRACE(scenario.name);
    ++ran;
    app.Store(StoredPlayerFile());
    app.PointGameAt(true);
    for (const Step& step : scenario.steps) {
      Run(app, step);
      if (::testing::Test::HasFatalFailure()) return ran;
    }
    app.Stop();
  }
  app.UseLanguage("");
  return ran;
}

// One save as the user makes it, then the status message and every byte of the file.
template <class App>
void RunSaveCases(App& app) {
  for (const SaveCase& c : kSaveCases) {
    if (c.pressesWhileHeld > 0 && !app.CanHold()) continue;
    SCOPED_TRACE(c.name);
    app.Store(StoredPlayerFile());
    app.PointGameAt(true);
    ASSERT_TRUE(app.Start());
    for (const auto& [box, text] : c.typed) app.Type(kMain, box, text);
    // A save reports from its worker: one pressed while the file is held must have ended, its
    // outcome shown ("...!", not "Saving...") before the file is let go.
    const auto letGo = [&] {
      if (!app.CanHold() || c.pressesWhileHeld == 0) return;
      (void)Awaited(
          app, [&] { return app.Text(kMain, frmMainDesign::StatusBar).ends_with('!'); }, true);
      app.Hold(false);
    };
    if (c.pressesWhileHeld > 0) app.Hold(true);
    for (std::size_t i = 0; i < c.pressed.size(); ++i) {
      if (i == c.pressesWhileHeld) letGo();
      app.Press(kMain, c.pressed[i]);
    }
    letGo();
    EXPECT_EQ(Awaited(
                  app, [&] { return app.Text(kMain, frmMainDesign::StatusBar); }, c.status),
              c.status);
    Bytes expected = StoredPlayerFile();
    for (const auto& [offset, bytes] : c.changed) Put(expected, offset, bytes);
    EXPECT_EQ(Awaited(
                  app, [&] { return app.File(); }, expected),
              expected);
    for (const auto& [box, text] : c.typed) EXPECT_EQ(app.Text(kMain, box), text);
    app.Stop();
  }
}

}  // namespace velquin::cases
