// End-to-end tests of the real velquin.exe under Wine: a test writes plyr.sav, points the
// game's registry entry at it, starts the program, works its windows from outside and then
// checks the bytes of the file. The same cases run for both builds and at 96 and 144 DPI.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cases/SaveCases.h"
#include "e2e/VelquinApp.h"
#include "forms/HelpForm.h"
#include "forms/frmHelp.h"
#include "forms/frmMainDesign.h"

namespace velquin::e2e {
namespace {

using namespace frmMainDesign;
using namespace std::literals;
using Bytes = std::vector<unsigned char>;

std::wstring Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::wstring(value, value + std::strlen(value)) : std::wstring();
}

std::wstring Wide(std::string_view utf8) {
  std::wstring wide(utf8.size(), L'\0');
  wide.resize(static_cast<std::size_t>(MultiByteToWideChar(
      CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

class VelquinE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    exe_ = Env("VELQUIN_EXE");
    game_ = Env("VELQUIN_E2E_GAME");
    if (exe_.empty() || game_.empty()) GTEST_SKIP() << "VELQUIN_EXE and VELQUIN_E2E_GAME not prepared";
    PointRegistryAt(game_);
  }

  // The game entry, as the 32-bit game's installer writes it.
  static void PointRegistryAt(const std::wstring& folder) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE,
                              L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zovur.exe", 0,
                              nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }

  std::wstring PlayerFile() const { return game_ + L"\\plyr.sav"; }

  static Bytes StoredFile() { return cases::StoredPlayerFile(); }
  static void Put(Bytes& file, std::size_t offset, const std::string& bytes) {
    cases::Put(file, offset, bytes);
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
  ASSERT_TRUE(app.started()) << app.whyNotStarted();
  const HWND main = app.main();

  EXPECT_EQ(VelquinApp::Text(VelquinApp::Control(main, txtPlayer(0))), L"Alpha");
  EXPECT_EQ(VelquinApp::Text(VelquinApp::Control(main, txtPlayer(1))), L"B\u00E9ta");
  for (int m = 0; m < 10; ++m) {
    EXPECT_EQ(VelquinApp::Text(VelquinApp::Control(main, txtMsg(m))), L"macro " + std::to_wstring(m));
    EXPECT_FALSE(IsWindowVisible(VelquinApp::Control(main, txtMsg(m))));
  }
  EXPECT_EQ(VelquinApp::Text(VelquinApp::Control(main, cmdME)), L"Macro Editor >>");
  EXPECT_EQ(app.StatusMessage(), L"");
  EXPECT_EQ(app.Focus(), VelquinApp::Control(main, txtPlayer(0)));
  Screenshot(main, L"main-window");
}

TEST_F(VelquinE2e, EachSaveWritesExactlyItsBytesAndSaysSo) {
  for (const cases::SaveCase& c : cases::kSaveCases) {
    if (c.pressesWhileHeld > 0) continue;  // the Linux program's: tests/linux/HeldFileSaveTest.cpp
    SCOPED_TRACE(c.name);
    const Bytes before = StoredFile();
    ASSERT_TRUE(WriteFileBytes(PlayerFile(), before));
    VelquinApp app(exe_);
    ASSERT_TRUE(app.started()) << app.whyNotStarted();
    for (const auto& [box, text] : c.typed)
      VelquinApp::SetText(VelquinApp::Control(app.main(), box), Wide(text));
    for (ControlId button : c.pressed) VelquinApp::Click(VelquinApp::Control(app.main(), button));

    EXPECT_EQ(app.StatusMessage(), Wide(c.status));
    Bytes expected = before;
    for (const auto& [offset, bytes] : c.changed) Put(expected, offset, bytes);
    EXPECT_EQ(ReadFileBytes(PlayerFile()), expected);
    for (const auto& [box, text] : c.typed) {
      EXPECT_EQ(VelquinApp::Text(VelquinApp::Control(app.main(), box)), Wide(text));
    }
  }
}

TEST_F(VelquinE2e, AReadOnlyPlayerFileGivesTheFailureMessage) {
  const std::wstring locked = Env("VELQUIN_E2E_LOCKED_GAME");
  if (locked.empty()) GTEST_SKIP() << "VELQUIN_E2E_LOCKED_GAME not prepared";
  PointRegistryAt(locked);
  const Bytes before = ReadFileBytes(locked + L"\\plyr.sav");
  VelquinApp app(exe_);
  ASSERT_TRUE(app.started()) << app.whyNotStarted();

  EXPECT_EQ(VelquinApp::Text(VelquinApp::Control(app.main(), txtPlayer(0))), L"Locked");
  VelquinApp::SetText(VelquinApp::Control(app.main(), txtPlayer(0)), L"Other");
  VelquinApp::Click(VelquinApp::Control(app.main(), cmdSave));
  EXPECT_EQ(app.StatusMessage(), L"Can't save names!");
  VelquinApp::Click(VelquinApp::Control(app.main(), cmdME));
  VelquinApp::Click(VelquinApp::Control(app.main(), cmdSaveM));
  EXPECT_EQ(app.StatusMessage(), L"Can't save messages!");
  EXPECT_EQ(ReadFileBytes(locked + L"\\plyr.sav"), before);
}

// Every control of the design where its twips say, within a pixel; the status bar docked to
// the bottom of the client area.
void ExpectLayout(HWND window, const FormDesign& design, int clientHeight) {
  const UINT dpi = DpiOf(window);
  const char* expectedDpi = std::getenv("VELQUIN_E2E_DPI");
  EXPECT_EQ(dpi, static_cast<UINT>(std::atoi(expectedDpi ? expectedDpi : "96")));
  const auto px = [dpi](int twips) { return MulDiv(twips, static_cast<int>(dpi), 1440); };
  const RECT client = ClientRect(window);
  EXPECT_NEAR(client.right, px(design.clientWidth), 1);
  EXPECT_NEAR(client.bottom, px(clientHeight), 1);
  for (const ControlDesign& c : design.controls) {
    if (c.kind == ControlKind::Line) continue;
    const int top = c.kind == ControlKind::StatusBar ? clientHeight - c.height : c.top;
    const HWND control = VelquinApp::Control(window, c.id);
    ASSERT_NE(control, nullptr) << c.name << c.index;
    const RECT r = ChildRect(control);
    EXPECT_NEAR(r.left, px(c.left), 1) << c.name << c.index;
    EXPECT_NEAR(r.top, px(top), 1) << c.name << c.index;
    EXPECT_NEAR(r.right, px(c.left + c.width), 1) << c.name << c.index;
    EXPECT_NEAR(r.bottom, px(top + c.height), 1) << c.name << c.index;
  }
}

TEST_F(VelquinE2e, EveryWindowAndControlLiesWhereTheLayoutSays) {
  ASSERT_TRUE(WriteFileBytes(PlayerFile(), StoredFile()));
  VelquinApp app(exe_);
  ASSERT_TRUE(app.started()) << app.whyNotStarted();
  {
    SCOPED_TRACE("panel closed");
    ExpectLayout(app.main(), Design(), kClosedClientHeight);
  }
  VelquinApp::Click(VelquinApp::Control(app.main(), cmdME));
  {
    SCOPED_TRACE("panel open");
    ExpectLayout(app.main(), Design(), kOpenClientHeight);
  }
  Screenshot(app.main(), L"main-window-macro-panel");

  VelquinApp::Click(VelquinApp::Control(app.main(), cmdHelp));
  const HWND help = app.FindWindowNamed(L"Name Editor - Help");
  ASSERT_NE(help, nullptr);
  SCOPED_TRACE("help window");
  const HelpDesign helpDesign(kFrmHelpTexts);
  ExpectLayout(help, helpDesign.form, helpDesign.form.clientHeight);
}

// What a screen reader asks: the accessible name of the box, which Windows and Wine take
// from the label just before the box in z-order.
std::wstring AccessibleName(HWND box) {
  // Spelled out: MinGW's import library's IID_IAccessible gave E_NOINTERFACE under Wine.
  static const IID kIAccessible = {
      0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
  IAccessible* accessible = nullptr;
  if (FAILED(AccessibleObjectFromWindow(box, static_cast<DWORD>(OBJID_CLIENT), kIAccessible,
                                        reinterpret_cast<void**>(&accessible)))) {
    return L"(no accessible object)";
  }
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  std::wstring result = SUCCEEDED(accessible->get_accName(self, &name)) && name ? name : L"(no name)";
  SysFreeString(name);
  accessible->Release();
  return result;
}

TEST_F(VelquinE2e, EveryBoxIsNamedByItsLabel) {
  ASSERT_TRUE(WriteFileBytes(PlayerFile(), StoredFile()));
  VelquinApp app(exe_);
  ASSERT_TRUE(app.started()) << app.whyNotStarted();
  VelquinApp::Click(VelquinApp::Control(app.main(), cmdME));
  CoInitialize(nullptr);
  for (const ControlDesign& label : Design().controls) {
    if (label.buddy == kNoControl) continue;
    const HWND box = VelquinApp::Control(app.main(), label.buddy);
    SCOPED_TRACE(label.caption);
    EXPECT_EQ(GetWindow(box, GW_HWNDPREV), VelquinApp::Control(app.main(), label.id));
    EXPECT_EQ(AccessibleName(box), Wide(label.caption));
  }
  EXPECT_EQ(AccessibleName(VelquinApp::Control(app.main(), cmdSave)), L"Save Names");
  CoUninitialize();
}

TEST_F(VelquinE2e, TabWalksTheNameEditorAndThenTheOpenMacroPanel) {
  ASSERT_TRUE(WriteFileBytes(PlayerFile(), StoredFile()));
  VelquinApp app(exe_);
  ASSERT_TRUE(app.started()) << app.whyNotStarted();
  SetForegroundWindow(app.main());
  const auto walk = [&app](int steps) {
    std::vector<int> order;
    for (int i = 0; i < steps; ++i) {
      order.push_back(GetDlgCtrlID(app.Focus()) - kControlIdBase);
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
  ASSERT_TRUE(app.started()) << app.whyNotStarted();
  const HWND main = app.main();
  const auto gone = [&app](const wchar_t* caption) {
    for (int i = 0; i < 40 && app.FindWindowNamed(caption, 0); ++i) Sleep(25);
    return app.FindWindowNamed(caption, 0) == nullptr;
  };

  VelquinApp::Click(VelquinApp::Control(main, cmdHelp));
  VelquinApp::Click(VelquinApp::Control(main, cmdHelp));
  HWND help = app.FindWindowNamed(L"Name Editor - Help");
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(app.CountWindowsNamed(L"Name Editor - Help"), 1);
  EXPECT_EQ(VelquinApp::Text(VelquinApp::Control(help, HelpDesign::lblName)),
            L"How does the name editor work?");
  Screenshot(help, L"help-window");

  // The link underlines under the pointer and loses it when the pointer moves off it. The
  // program draws in its own time: compare what the screen shows until it changes.
  const HWND link = VelquinApp::Control(help, HelpDesign::lblURL);
  const auto shownAfter = [link](const ScreenImage& unlike, bool differ) {
    ScreenImage now = CaptureScreen(link);
    for (int i = 0; i < 40 && (now == unlike) == differ; ++i, now = CaptureScreen(link)) Sleep(25);
    return now;
  };
  MovePointerTo(help, {2, 2});
  Sleep(300);
  const ScreenImage plain = CaptureScreen(link);
  const RECT linkRect = ChildRect(link);
  MovePointerTo(help, {(linkRect.left + linkRect.right) / 2, (linkRect.top + linkRect.bottom) / 2});
  const ScreenImage underlined = shownAfter(plain, true);
  EXPECT_NE(underlined, plain) << "the link did not change under the pointer";
  MovePointerTo(help, {2, 2});
  EXPECT_EQ(shownAfter(underlined, true), plain) << "the link did not return to plain off the pointer";

  VelquinApp::Click(VelquinApp::Control(help, HelpDesign::cmdOK));
  EXPECT_TRUE(gone(L"Name Editor - Help"));

  // Escape closes it, through the OK button that has the focus.
  VelquinApp::Click(VelquinApp::Control(main, cmdME));
  VelquinApp::Click(VelquinApp::Control(main, cmdHelpM));
  const HWND helpM = app.FindWindowNamed(L"Macro Editor - Help");
  ASSERT_NE(helpM, nullptr);
  Screenshot(helpM, L"help-window-macros");
  EXPECT_EQ(app.Focus(), VelquinApp::Control(helpM, HelpDesign::cmdOK));
  PostMessageW(app.Focus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  EXPECT_TRUE(gone(L"Macro Editor - Help"));

  // Alt+O presses OK.
  VelquinApp::Click(VelquinApp::Control(main, cmdHelp));
  ASSERT_NE(app.FindWindowNamed(L"Name Editor - Help"), nullptr);
  PostMessageW(app.Focus(), WM_SYSKEYDOWN, 'O', 0x20180001);
  PostMessageW(app.Focus(), WM_SYSCHAR, 'o', 0x20180001);
  EXPECT_TRUE(gone(L"Name Editor - Help"));

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
