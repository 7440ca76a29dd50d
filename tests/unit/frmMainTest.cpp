#include "core/DefaultMacros.h"
#include "core/StartupLoad.h"
#include "unit/FormsFixture.h"

namespace velquin {
namespace {

using namespace frmMainDesign;
using namespace std::literals;

class frmMainTest : public testing::FormsFixture {
 protected:
  // A player file with names and macros in place.
  Bytes StoredFile() {
    Bytes file = testing::PatternFile();
    for (int k = 0; k < kNameSlots; ++k)
      testing::Put(file, NamePosition(k) - 1, "Name" + std::to_string(k) + '\0');
    for (int m = 0; m < kMacroSlots; ++m)
      testing::Put(file, MacroPosition(m) - 1, "Macro" + std::to_string(m) + '\0');
    return file;
  }

  std::vector<ControlId> MacroPanel() const {
    std::vector<ControlId> ids = {wln, gln, cmdHelpM, cmdDefault, cmdSaveM};
    for (int m = 0; m < kMacroSlots; ++m) ids.insert(ids.end(), {lblMsg(m), txtMsg(m)});
    return ids;
  }
};

TEST_F(frmMainTest, StartsCollapsedWithNamesAndMacrosAlreadyLoaded) {
  WriteFile(StoredFile());
  testing::FakeWindow& window = StartMain();

  EXPECT_TRUE(window.shown);
  EXPECT_EQ(window.clientHeight, kClosedClientHeight);
  EXPECT_EQ(window.Text(cmdME), "Macro Editor >>");
  for (ControlId id : MacroPanel()) EXPECT_FALSE(window.IsVisible(id)) << id;
  for (ControlId id : {cmdHelp, cmdCharmap, cmdSave, cmdME, StatusBar})
    EXPECT_TRUE(window.IsVisible(id)) << id;
  for (int k = 0; k < kNameSlots; ++k) EXPECT_EQ(window.Text(txtPlayer(k)), "Name" + std::to_string(k));
  for (int m = 0; m < kMacroSlots; ++m) EXPECT_EQ(window.Text(txtMsg(m)), "Macro" + std::to_string(m));
  EXPECT_EQ(window.Text(lblPlayer(4)), "Character 5");
  EXPECT_EQ(window.Text(lblMsg(9)), "SHIFT + F10");
  EXPECT_TRUE(window.panels.empty());  // nothing in the status message before the first save
}

TEST_F(frmMainTest, NoGameOrNoFileStartsWithEveryBoxEmpty) {
  registry_->values.clear();
  testing::FakeWindow& window = StartMain();
  for (int k = 0; k < kNameSlots; ++k) EXPECT_EQ(window.Text(txtPlayer(k)), "");
  for (int m = 0; m < kMacroSlots; ++m) EXPECT_EQ(window.Text(txtMsg(m)), "");
  EXPECT_EQ(window.clientHeight, kClosedClientHeight);
}

TEST_F(frmMainTest, TheToggleOpensAndClosesThePanelKeepingTheTexts) {
  WriteFile(StoredFile());
  testing::FakeWindow& window = StartMain();

  window.Click(cmdME);
  EXPECT_EQ(window.Text(cmdME), "Macro Editor <<");
  EXPECT_EQ(window.clientHeight, kOpenClientHeight);
  for (ControlId id : MacroPanel()) EXPECT_TRUE(window.IsVisible(id)) << id;
  window.SetText(txtMsg(3), "typed while open");

  window.Click(cmdME);
  EXPECT_EQ(window.Text(cmdME), "Macro Editor >>");
  EXPECT_EQ(window.clientHeight, kClosedClientHeight);
  for (ControlId id : MacroPanel()) EXPECT_FALSE(window.IsVisible(id)) << id;
  EXPECT_EQ(window.Text(txtMsg(3)), "typed while open");
  EXPECT_EQ(window.Text(txtMsg(4)), "Macro4");
}

TEST_F(frmMainTest, DefaultFillsAllTenMacrosWithoutTouchingTheFile) {
  const Bytes stored = StoredFile();
  WriteFile(stored);
  testing::FakeWindow& window = StartMain();
  window.Click(cmdME);
  window.SetText(txtMsg(0), "my own macro");

  window.Click(cmdDefault);

  for (int m = 0; m < kMacroSlots; ++m) EXPECT_EQ(window.Text(txtMsg(m)), kDefaultMacros[m]);
  EXPECT_EQ(window.Text(txtMsg(2)), "***Snipers take overwatch positions!!!*");
  EXPECT_EQ(ReadFile(), stored);
  EXPECT_TRUE(window.panels.empty());
}

TEST_F(frmMainTest, BothSavesWriteTheBoxesAndReportInTheFirstPanel) {
  WriteFile(StoredFile());
  testing::FakeWindow& window = StartMain();
  window.SetText(txtPlayer(1), "Sn\xC3\xAFper");

  window.Click(cmdSave);
  EXPECT_EQ(window.panels[1], "Names saved!");
  const Bytes afterNames = ReadFile();
  EXPECT_EQ(Bytes(afterNames.begin() + 2120, afterNames.begin() + 2128),
            Bytes({'S', 'n', 0xEF, 'p', 'e', 'r', 0, 0}));

  window.Click(cmdME);
  window.Click(cmdDefault);
  window.Click(cmdSaveM);
  EXPECT_EQ(window.panels[1], "Messages saved!");
  EXPECT_EQ(LoadNamesAndMacros(GamePath(), *os_.files, *os_.codePage).macros[7], kDefaultMacros[7]);

  // A character the code page lacks: the message says so and the file stays as it was.
  const Bytes before = ReadFile();
  window.SetText(txtPlayer(0), "\xD0\x96");
  window.Click(cmdSave);
  EXPECT_EQ(window.panels[1], "Can't save names!");
  window.SetText(txtMsg(0), "\xE4\xB8\xAD");
  window.Click(cmdSaveM);
  EXPECT_EQ(window.panels[1], "Can't save messages!");
  EXPECT_EQ(ReadFile(), before);
}

TEST_F(frmMainTest, EachSaveLooksTheGameFolderUpAfresh) {
  WriteFile(StoredFile());
  testing::FakeWindow& window = StartMain();
  const Bytes first = ReadFile();

  std::filesystem::create_directory(folder_ / "moved");
  SetGameFolder((folder_ / "moved").string());
  window.Click(cmdSave);
  EXPECT_EQ(window.panels[1], "Names saved!");
  EXPECT_EQ(LoadNamesAndMacros((folder_ / "moved").string(), *os_.files, *os_.codePage).names[3], "Name3");
  EXPECT_EQ(ReadFile(), first);

  registry_->values.clear();
  window.Click(cmdSave);
  EXPECT_EQ(window.panels[1], "Can't save names!");
}

TEST_F(frmMainTest, CharmapAsksTheShellForTheCharacterMap) {
  testing::FakeWindow& window = StartMain();
  window.Click(cmdCharmap);
  EXPECT_EQ(shell_.opened, std::vector<std::string>{"charmap.exe in C:\\"});
}

}  // namespace
}  // namespace velquin
