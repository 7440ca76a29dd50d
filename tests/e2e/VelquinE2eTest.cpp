// End-to-end tests of the real velquin.exe under Wine: a test writes plyr.sav, points the
// game's registry entry at it, starts the program, works its windows from outside and then
// checks the bytes of the file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "e2e/VelquinApp.h"

namespace velquin::e2e {
namespace {

using Bytes = std::vector<unsigned char>;

std::wstring Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::wstring(value, value + std::strlen(value)) : std::wstring();
}

// Tab indices of the main window's controls.
constexpr int txtPlayer(int k) {
  return k;
}
constexpr int cmdHelp = 5, cmdCharmap = 6, cmdSave = 7, StatusBar = 13, cmdME = 14;
constexpr int txtMsg(int m) {
  return 15 + m;
}
constexpr int lblPlayer(int k) {
  return 8 + k;
}
constexpr int lblMsg(int m) {
  return 28 + m;
}
constexpr int cmdHelpM = 25, cmdDefault = 26, cmdSaveM = 27;
constexpr int cmdOK = 2;

constexpr std::size_t kFileSize = 12 + 5 * 2108;

class VelquinE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    exe_ = Env("VELQUIN_EXE");
    game_ = Env("VELQUIN_E2E_GAME");
    if (exe_.empty() || game_.empty()) GTEST_SKIP() << "VELQUIN_EXE and VELQUIN_E2E_GAME not prepared";
    PointRegistryAt(game_);
  }

  // The game entry, as the game's installer writes it (the 32-bit view, like ours).
  static void PointRegistryAt(const std::wstring& folder) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE,
                              L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zovur.exe", 0,
                              nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }

  std::wstring PlayerFile() const { return game_ + L"\\plyr.sav"; }

  // A file of realistic size with a pattern that has no zero byte, names and macros in place.
  Bytes StoredFile() const {
    Bytes file(kFileSize);
    for (std::size_t i = 0; i < file.size(); ++i) file[i] = static_cast<unsigned char>(1 + i % 251);
    const char* names[] = {"Alpha", "B\xE9ta", "Gamma", "Delta", "Epsilon"};  // \xE9 is é in 1252
    for (int k = 0; k < 5; ++k) Put(file, 12 + 2108 * static_cast<std::size_t>(k), names[k]);
    for (int m = 0; m < 10; ++m)
      Put(file, 228 + 40 * static_cast<std::size_t>(m), "macro " + std::to_string(m));
    return file;
  }
  static void Put(Bytes& file, std::size_t offset, const std::string& text) {
    std::copy(text.begin(), text.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
    file[offset + text.size()] = 0;
  }

  void Screenshot(HWND window, const std::wstring& name) const {
    const std::wstring folder = Env("VELQUIN_ARTIFACTS");
    if (!folder.empty()) SaveScreenshot(window, folder + L"\\" + name + L".bmp");
  }

  std::wstring exe_, game_;
};

TEST_F(VelquinE2e, TheStartUpLoadShowsTheFilesNamesAndMacros) {
  ASSERT_TRUE(WriteFileBytes(PlayerFile(), StoredFile()));
  VelquinApp app(exe_);
  ASSERT_TRUE(app.started());
  const HWND main = app.main();

  EXPECT_EQ(VelquinApp::Text(VelquinApp::Control(main, txtPlayer(0))), L"Alpha");
  EXPECT_EQ(VelquinApp::Text(VelquinApp::Control(main, txtPlayer(1))), L"B\u00E9ta");
  EXPECT_EQ(VelquinApp::Text(VelquinApp::Control(main, txtPlayer(4))), L"Epsilon");
  for (int m = 0; m < 10; ++m) {
    EXPECT_EQ(VelquinApp::Text(VelquinApp::Control(main, txtMsg(m))), L"macro " + std::to_wstring(m));
    EXPECT_FALSE(IsWindowVisible(VelquinApp::Control(main, txtMsg(m))));
  }
  EXPECT_EQ(VelquinApp::Text(VelquinApp::Control(main, cmdME)), L"Macro Editor >>");
  EXPECT_EQ(app.StatusMessage(), L"");
  EXPECT_EQ(app.Focus(), VelquinApp::Control(main, txtPlayer(0)));
  Screenshot(main, L"main-window");
}

TEST_F(VelquinE2e, AnEditedNameLandsByteExactAndTheStatusBarSaysSo) {
  const Bytes before = StoredFile();
  ASSERT_TRUE(WriteFileBytes(PlayerFile(), before));
  VelquinApp app(exe_);
  ASSERT_TRUE(app.started());

  VelquinApp::SetText(VelquinApp::Control(app.main(), txtPlayer(2)), L"Zo\u00EB\u2122");  // ë and ™
  VelquinApp::Click(VelquinApp::Control(app.main(), cmdSave));

  EXPECT_EQ(app.StatusMessage(), L"Names saved!");
  // Every name is written back with its two zero bytes; the edited one in code page 1252.
  Bytes expected = before;
  const char* names[] = {"Alpha", "B\xE9ta", "Zo\xEB\x99", "Delta", "Epsilon"};
  for (int k = 0; k < 5; ++k) {
    const std::string field = std::string(names[k]) + std::string(2, '\0');
    std::copy(field.begin(), field.end(), expected.begin() + 12 + 2108 * k);
  }
  EXPECT_EQ(ReadFileBytes(PlayerFile()), expected);
}

TEST_F(VelquinE2e, TheDefaultMacrosAreSavedIntoTheirSlots) {
  ASSERT_TRUE(WriteFileBytes(PlayerFile(), StoredFile()));
  VelquinApp app(exe_);
  ASSERT_TRUE(app.started());
  VelquinApp::Click(VelquinApp::Control(app.main(), cmdME));
  VelquinApp::Click(VelquinApp::Control(app.main(), cmdDefault));
  VelquinApp::Click(VelquinApp::Control(app.main(), cmdSaveM));

  EXPECT_EQ(app.StatusMessage(), L"Messages saved!");
  const Bytes after = ReadFileBytes(PlayerFile());
  const std::string sniper = "***Snipers take overwatch positions!!!*";
  EXPECT_EQ(std::string(after.begin() + 308, after.begin() + 348), sniper + '\0');  // one zero: slot full
  EXPECT_EQ(std::string(after.begin() + 588, after.begin() + 610),
            std::string("***I need a medic***\0\0", 22));
  EXPECT_EQ(after[628], StoredFile()[628]);
}

TEST_F(VelquinE2e, ACharacterOutsideTheCodePageIsRefusedAndTheFileKept) {
  const Bytes before = StoredFile();
  ASSERT_TRUE(WriteFileBytes(PlayerFile(), before));
  VelquinApp app(exe_);
  ASSERT_TRUE(app.started());

  VelquinApp::SetText(VelquinApp::Control(app.main(), txtPlayer(0)), L"Ok");
  VelquinApp::SetText(VelquinApp::Control(app.main(), txtPlayer(3)), L"\u0416uk");  // Cyrillic Zhe
  VelquinApp::Click(VelquinApp::Control(app.main(), cmdSave));

  EXPECT_EQ(app.StatusMessage(), L"Can't save names!");
  EXPECT_EQ(ReadFileBytes(PlayerFile()), before);
  EXPECT_EQ(VelquinApp::Text(VelquinApp::Control(app.main(), txtPlayer(3))), L"\u0416uk");  // nothing lost
}

TEST_F(VelquinE2e, AReadOnlyPlayerFileGivesTheFailureMessage) {
  const std::wstring locked = Env("VELQUIN_E2E_LOCKED_GAME");
  if (locked.empty()) GTEST_SKIP() << "VELQUIN_E2E_LOCKED_GAME not prepared";
  PointRegistryAt(locked);
  const Bytes before = ReadFileBytes(locked + L"\\plyr.sav");
  VelquinApp app(exe_);
  ASSERT_TRUE(app.started());

  EXPECT_EQ(VelquinApp::Text(VelquinApp::Control(app.main(), txtPlayer(0))), L"Locked");
  VelquinApp::SetText(VelquinApp::Control(app.main(), txtPlayer(0)), L"Other");
  VelquinApp::Click(VelquinApp::Control(app.main(), cmdSave));
  EXPECT_EQ(app.StatusMessage(), L"Can't save names!");
  VelquinApp::Click(VelquinApp::Control(app.main(), cmdME));
  VelquinApp::Click(VelquinApp::Control(app.main(), cmdSaveM));
  EXPECT_EQ(app.StatusMessage(), L"Can't save messages!");
  EXPECT_EQ(ReadFileBytes(locked + L"\\plyr.sav"), before);
}

struct Layout {
  int tab, left, top, width, height;
};

void ExpectLayout(HWND window, int clientWidth, int clientHeight, const std::vector<Layout>& controls) {
  const UINT dpi = DpiOf(window);
  const std::string expectedDpi(std::getenv("VELQUIN_E2E_DPI") ? std::getenv("VELQUIN_E2E_DPI") : "96");
  EXPECT_EQ(dpi, static_cast<UINT>(std::stoi(expectedDpi)));
  const auto px = [dpi](int twips) { return MulDiv(twips, static_cast<int>(dpi), 1440); };
  const RECT client = ClientRect(window);
  EXPECT_NEAR(client.right, px(clientWidth), 1);
  EXPECT_NEAR(client.bottom, px(clientHeight), 1);
  for (const Layout& c : controls) {
    const HWND control = VelquinApp::Control(window, c.tab);
    ASSERT_NE(control, nullptr) << "tab " << c.tab;
    const RECT r = ChildRect(control);
    EXPECT_NEAR(r.left, px(c.left), 1) << "tab " << c.tab;
    EXPECT_NEAR(r.top, px(c.top), 1) << "tab " << c.tab;
    EXPECT_NEAR(r.right, px(c.left + c.width), 1) << "tab " << c.tab;
    EXPECT_NEAR(r.bottom, px(c.top + c.height), 1) << "tab " << c.tab;
  }
}

std::vector<Layout> NameEditorLayout(int clientHeight) {
  std::vector<Layout> layout = {{cmdHelp, 120, 2040, 975, 315},
                                {cmdCharmap, 1200, 2040, 1455, 315},
                                {cmdSave, 2760, 2040, 1455, 315},
                                {cmdME, 2400, 2400, 1815, 315},
                                {StatusBar, 0, clientHeight - 255, 4335, 255}};
  for (int k = 0; k < 5; ++k) {
    layout.push_back({txtPlayer(k), 1200, 240 + 360 * k, 3015, 285});
    layout.push_back({lblPlayer(k), 120, 280 + 360 * k, 975, 255});
  }
  return layout;
}

TEST_F(VelquinE2e, EveryWindowAndControlLiesWhereTheLayoutSays) {
  ASSERT_TRUE(WriteFileBytes(PlayerFile(), StoredFile()));
  VelquinApp app(exe_);
  ASSERT_TRUE(app.started());
  const HWND main = app.main();
  {
    SCOPED_TRACE("panel closed");
    ExpectLayout(main, 4335, 3045, NameEditorLayout(3045));
  }

  VelquinApp::Click(VelquinApp::Control(main, cmdME));
  std::vector<Layout> open = NameEditorLayout(7260);
  const int labelTops[10] = {3060, 3420, 3800, 4160, 4500, 4840, 5200, 5560, 5920, 6280};
  for (int m = 0; m < 10; ++m) {
    open.push_back({txtMsg(m), 1200, 3000 + 360 * m, 3015, 285});
    open.push_back({lblMsg(m), 120, labelTops[m], 975, 255});
  }
  open.push_back({cmdHelpM, 120, 6600, 975, 315});
  open.push_back({cmdDefault, 1200, 6600, 1455, 315});
  open.push_back({cmdSaveM, 2760, 6600, 1455, 315});
  {
    SCOPED_TRACE("panel open");
    ExpectLayout(main, 4335, 7260, open);
  }
  Screenshot(main, L"main-window-macro-panel");

  VelquinApp::Click(VelquinApp::Control(main, cmdHelp));
  const HWND help = app.FindWindowNamed(L"Name Editor - Help");
  ASSERT_NE(help, nullptr);
  SCOPED_TRACE("help window");
  ExpectLayout(help, 3855, 3030,
               {{0, 120, 120, 3495, 255},
                {1, 120, 600, 3615, 975},
                {cmdOK, 1200, 2520, 1455, 375},
                {3, 120, 1680, 3615, 255},
                {4, 120, 2040, 1815, 255}});
}

TEST_F(VelquinE2e, TabWalksTheNameEditorAndThenTheOpenMacroPanel) {
  ASSERT_TRUE(WriteFileBytes(PlayerFile(), StoredFile()));
  VelquinApp app(exe_);
  ASSERT_TRUE(app.started());
  SetForegroundWindow(app.main());
  const auto walk = [&app](int steps) {
    std::vector<int> order;
    for (int i = 0; i < steps; ++i) {
      order.push_back(GetDlgCtrlID(app.Focus()) - 1000);
      app.PressTab();
    }
    return order;
  };

  EXPECT_EQ(walk(10), (std::vector<int>{0, 1, 2, 3, 4, cmdHelp, cmdCharmap, cmdSave, cmdME, 0}));

  VelquinApp::Click(VelquinApp::Control(app.main(), cmdME));
  // Tab on until the first name has the focus again.
  for (int i = 0; i < 40 && app.Focus() != VelquinApp::Control(app.main(), txtPlayer(0)); ++i) app.PressTab();
  std::vector<int> expected = {0, 1, 2, 3, 4, cmdHelp, cmdCharmap, cmdSave, cmdME};
  for (int m = 0; m < 10; ++m) expected.push_back(txtMsg(m));
  expected.insert(expected.end(), {cmdHelpM, cmdDefault, cmdSaveM, 0});
  EXPECT_EQ(walk(static_cast<int>(expected.size())), expected);
}

TEST_F(VelquinE2e, HelpWindowsOpenOnceCloseWithOkOrEscapeAndWithTheMainWindow) {
  ASSERT_TRUE(WriteFileBytes(PlayerFile(), StoredFile()));
  VelquinApp app(exe_);
  ASSERT_TRUE(app.started());
  const HWND main = app.main();

  VelquinApp::Click(VelquinApp::Control(main, cmdHelp));
  VelquinApp::Click(VelquinApp::Control(main, cmdHelp));
  HWND help = app.FindWindowNamed(L"Name Editor - Help");
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(app.CountWindowsNamed(L"Name Editor - Help"), 1);
  EXPECT_EQ(VelquinApp::Text(VelquinApp::Control(help, 0)), L"How does the name editor work?");
  Screenshot(help, L"help-window");

  VelquinApp::Click(VelquinApp::Control(help, cmdOK));
  EXPECT_EQ(app.FindWindowNamed(L"Name Editor - Help", 0), nullptr);

  VelquinApp::Click(VelquinApp::Control(main, cmdME));
  VelquinApp::Click(VelquinApp::Control(main, cmdHelpM));
  HWND helpM = app.FindWindowNamed(L"Macro Editor - Help");
  ASSERT_NE(helpM, nullptr);
  Screenshot(helpM, L"help-window-macros");
  // Escape closes it, through the OK button that has the focus.
  EXPECT_EQ(app.Focus(), VelquinApp::Control(helpM, cmdOK));
  PostMessageW(app.Focus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  for (int i = 0; i < 40 && app.FindWindowNamed(L"Macro Editor - Help", 0); ++i) Sleep(25);
  EXPECT_EQ(app.FindWindowNamed(L"Macro Editor - Help", 0), nullptr);

  // Alt+O presses OK.
  VelquinApp::Click(VelquinApp::Control(main, cmdHelp));
  help = app.FindWindowNamed(L"Name Editor - Help");
  ASSERT_NE(help, nullptr);
  PostMessageW(app.Focus(), WM_SYSKEYDOWN, 'O', 0x20180001);
  PostMessageW(app.Focus(), WM_SYSCHAR, 'o', 0x20180001);
  for (int i = 0; i < 40 && app.FindWindowNamed(L"Name Editor - Help", 0); ++i) Sleep(25);
  EXPECT_EQ(app.FindWindowNamed(L"Name Editor - Help", 0), nullptr);

  // Both at once, then the main window closes them with itself.
  VelquinApp::Click(VelquinApp::Control(main, cmdHelp));
  VelquinApp::Click(VelquinApp::Control(main, cmdHelpM));
  ASSERT_NE(app.FindWindowNamed(L"Name Editor - Help"), nullptr);
  ASSERT_NE(app.FindWindowNamed(L"Macro Editor - Help"), nullptr);
  EXPECT_TRUE(app.CloseMain());
  EXPECT_EQ(app.FindWindowNamed(L"Name Editor - Help", 0), nullptr);
  EXPECT_EQ(app.FindWindowNamed(L"Macro Editor - Help", 0), nullptr);
}

}  // namespace
}  // namespace velquin::e2e

int main(int argc, char** argv) {
  // Pixels as the program itself sees them, whatever the prefix's DPI.
  SetProcessDPIAware();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
