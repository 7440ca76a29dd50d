#include "unit/FormsFixture.h"

namespace velquin {
namespace {

using namespace frmMainDesign;

class frmMainTest : public testing::FormsFixture {
 protected:
  // A player file with names and macros in place, the rest a pattern without zero bytes.
  void StoreFile() {
    Bytes file(12 + 5 * 2108);
    for (std::size_t i = 0; i < file.size(); ++i) file[i] = static_cast<std::uint8_t>(1 + i % 251);
    const auto put = [&file](std::size_t offset, const std::string& text) {
      std::copy(text.c_str(), text.c_str() + text.size() + 1,
                file.begin() + static_cast<std::ptrdiff_t>(offset));
    };
    for (int k = 0; k < kNameSlots; ++k) put(12 + 2108 * k, "Name" + std::to_string(k));
    for (int m = 0; m < kMacroSlots; ++m) put(228 + 40 * m, "Macro" + std::to_string(m));
    files_->content = file;
  }

  std::vector<ControlId> MacroPanel() const {
    std::vector<ControlId> ids = {wln, gln, cmdHelpM, cmdDefault, cmdSaveM};
    for (int m = 0; m < kMacroSlots; ++m) ids.insert(ids.end(), {lblMsg(m), txtMsg(m)});
    return ids;
  }
};

TEST_F(frmMainTest, StartsCollapsedWithNamesAndMacrosAlreadyLoaded) {
  StoreFile();
  testing::FakeWindow& window = StartMain();

  EXPECT_TRUE(window.shown);
  EXPECT_EQ(window.clientHeight, kClosedClientHeight);
  EXPECT_EQ(window.Text(cmdME), "Macro Editor >>");
  for (ControlId id : MacroPanel()) EXPECT_FALSE(window.IsVisible(id)) << id;
  for (ControlId id : {cmdHelp, cmdCharmap, cmdSave, cmdME, StatusBar})
    EXPECT_TRUE(window.IsVisible(id)) << id;
  for (int k = 0; k < kNameSlots; ++k) EXPECT_EQ(window.Text(txtPlayer(k)), "Name" + std::to_string(k));
  for (int m = 0; m < kMacroSlots; ++m) EXPECT_EQ(window.Text(txtMsg(m)), "Macro" + std::to_string(m));
  EXPECT_EQ(files_->paths, (std::vector<std::string>{"C:\\Games\\DF\\plyr.sav", "C:\\Games\\DF\\plyr.sav"}));
  EXPECT_TRUE(window.panels.empty());  // nothing in the status message before the first save
}

TEST_F(frmMainTest, NoGameEntryStartsWithEveryBoxEmptyAndReadsNothing) {
  StoreFile();
  registry_->values.clear();
  testing::FakeWindow& window = StartMain();
  for (int k = 0; k < kNameSlots; ++k) EXPECT_EQ(window.Text(txtPlayer(k)), "");
  for (int m = 0; m < kMacroSlots; ++m) EXPECT_EQ(window.Text(txtMsg(m)), "");
  EXPECT_TRUE(files_->paths.empty());
}

TEST_F(frmMainTest, TheToggleOpensAndClosesThePanelKeepingTheTexts) {
  StoreFile();
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

TEST_F(frmMainTest, EachSaveLooksTheGameFolderUpAfresh) {
  StoreFile();
  testing::FakeWindow& window = StartMain();
  SetGameFolder("D:\\Moved");
  window.Click(cmdSave);
  EXPECT_EQ(files_->paths.back(), "D:\\Moved\\plyr.sav");
  EXPECT_EQ(window.panels[1], "Names saved!");

  registry_->values.clear();
  window.Click(cmdME);
  window.Click(cmdSaveM);
  EXPECT_EQ(window.panels[1], "Can't save messages!");
  EXPECT_EQ(files_->paths.back(), "D:\\Moved\\plyr.sav");  // no "\plyr.sav" in a drive's root
}

TEST_F(frmMainTest, AWindowTheSystemCannotMakeIsReportedAndReadsNothing) {
  StoreFile();
  toolkit_.failCreate = true;
  EXPECT_FALSE(main_.Show());
  EXPECT_TRUE(files_->paths.empty());

  toolkit_.failCreate = false;
  testing::FakeWindow& window = StartMain();
  toolkit_.failCreate = true;
  window.Click(cmdHelp);  // no help window, and the main window goes on
  EXPECT_EQ(toolkit_.open.size(), 1u);
  window.Click(cmdSave);
  EXPECT_EQ(window.panels[1], "Names saved!");
}

TEST_F(frmMainTest, CharmapAsksTheShellForTheCharacterMap) {
  StartMain().Click(cmdCharmap);
  EXPECT_EQ(shell_.opened, std::vector<std::string>{"charmap.exe in C:\\"});
}

}  // namespace
}  // namespace velquin
