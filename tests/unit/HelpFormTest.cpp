#include "unit/FormsFixture.h"

namespace velquin {
namespace {

using namespace frmMainDesign;
using H = HelpDesign;

class HelpFormTest : public testing::FormsFixture {
 protected:
  testing::FakeWindow* Help() { return toolkit_.Find("Name Editor - Help"); }
  testing::FakeWindow* HelpM() { return toolkit_.Find("Macro Editor - Help"); }
};

TEST_F(HelpFormTest, EachHelpOpensOneWindowHoweverOftenItIsPressedAndBothCanBeOpen) {
  testing::FakeWindow& main = StartMain();
  for (int i = 0; i < 3; ++i) main.Click(cmdHelp);
  EXPECT_EQ(toolkit_.Count("Name Editor - Help"), 1);
  ASSERT_NE(Help(), nullptr);
  EXPECT_EQ(Help()->activations, 3);  // shown again and made active each time
  EXPECT_EQ(Help()->Text(H::lblName), "How does the name editor work?");

  main.Click(cmdME);
  main.Click(cmdHelpM);
  ASSERT_NE(HelpM(), nullptr);
  EXPECT_NE(Help(), nullptr);
  EXPECT_EQ(HelpM()->Text(H::lblName), "How does the macro editor work?");
  main.Click(cmdDefault);  // the main window still works
  EXPECT_EQ(main.Text(txtMsg(9)), "***I need a medic***");
}

TEST_F(HelpFormTest, TheLinkUnderlinesOverItselfAndNotOverTheBackground) {
  StartMain().Click(cmdHelp);
  testing::FakeWindow& help = *Help();
  EXPECT_FALSE(help.Underlined(H::lblURL));
  const auto others = {H::lblName, H::lblEx, H::lblCreator, H::cmdOK};

  help.MoveMouseOver(H::lblURL);
  for (ControlId other : others) help.MoveMouseOver(other);  // these change nothing
  EXPECT_TRUE(help.Underlined(H::lblURL));
  help.MoveMouseOver(kFormBackground);
  for (ControlId other : others) help.MoveMouseOver(other);
  EXPECT_FALSE(help.Underlined(H::lblURL));

  help.MoveMouseOver(H::lblURL);
  help.Click(H::lblURL);
  EXPECT_EQ(shell_.opened, std::vector<std::string>{"https://velquin.io in C:\\"});
  EXPECT_EQ(Help(), &help);  // still open, still underlined
  EXPECT_TRUE(help.Underlined(H::lblURL));
}

TEST_F(HelpFormTest, OkOrTheCloseButtonClosesAndTheNextOpeningStartsFromTheDesign) {
  testing::FakeWindow& main = StartMain();
  main.Click(cmdHelp);
  Help()->MoveMouseOver(H::lblURL);
  Help()->Click(H::cmdOK);
  EXPECT_EQ(Help(), nullptr);

  main.Click(cmdHelp);
  ASSERT_NE(Help(), nullptr);
  EXPECT_FALSE(Help()->Underlined(H::lblURL));
  Help()->PressCloseButton();
  EXPECT_EQ(Help(), nullptr);
  EXPECT_EQ(toolkit_.created, 3);  // main, help, help again
}

TEST_F(HelpFormTest, ClosingTheMainWindowClosesWhateverHelpIsOpen) {
  testing::FakeWindow& main = StartMain();
  main.Click(cmdHelp);
  main.Click(cmdME);
  main.Click(cmdHelpM);
  ASSERT_EQ(toolkit_.open.size(), 3u);
  main.PressCloseButton();
  EXPECT_TRUE(toolkit_.open.empty());
  EXPECT_TRUE(mainClosed_);

  // Again with no help window open: nothing to close, nothing raised.
  testing::FakeWindow& again = StartMain();
  mainClosed_ = false;
  EXPECT_NO_THROW(again.PressCloseButton());
  EXPECT_TRUE(toolkit_.open.empty());
  EXPECT_TRUE(mainClosed_);
}

}  // namespace
}  // namespace velquin
