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

TEST_F(HelpFormTest, HelpOpensOneWindowHoweverOftenItIsPressed) {
  testing::FakeWindow& main = StartMain();
  main.Click(cmdHelp);
  main.Click(cmdHelp);
  main.Click(cmdHelp);
  EXPECT_EQ(toolkit_.Count("Name Editor - Help"), 1);
  ASSERT_NE(Help(), nullptr);
  EXPECT_EQ(Help()->activations, 3);  // shown again and made active each time

  main.Click(cmdME);
  main.Click(cmdHelpM);
  ASSERT_NE(HelpM(), nullptr);
  EXPECT_NE(Help(), nullptr);  // both at once
  EXPECT_EQ(HelpM()->Text(H::lblName), "How does the macro editor work?");
  EXPECT_EQ(Help()->Text(H::lblEx).size(), 187u);
  EXPECT_EQ(HelpM()->Text(H::lblEx).size(), 148u);
  EXPECT_EQ(Help()->Text(H::cmdOK), "&OK");

  main.Click(cmdDefault);  // the main window still works
  EXPECT_EQ(main.Text(txtMsg(9)), "***I need a medic***");
}

TEST_F(HelpFormTest, TheLinkUnderlinesOverItselfAndNotOverTheBackground) {
  StartMain().Click(cmdHelp);
  testing::FakeWindow& help = *Help();
  EXPECT_FALSE(help.Underlined(H::lblURL));

  help.MoveMouseOver(H::lblURL);
  EXPECT_TRUE(help.Underlined(H::lblURL));
  help.MoveMouseOver(H::lblURL);
  EXPECT_TRUE(help.Underlined(H::lblURL));
  for (ControlId other : {H::lblName, H::lblEx, H::lblCreator, H::cmdOK}) {
    help.MoveMouseOver(other);
    EXPECT_TRUE(help.Underlined(H::lblURL)) << other;
  }
  help.MoveMouseOver(kFormBackground);
  EXPECT_FALSE(help.Underlined(H::lblURL));
  for (ControlId other : {H::lblName, H::lblEx, H::lblCreator, H::cmdOK}) {
    help.MoveMouseOver(other);
    EXPECT_FALSE(help.Underlined(H::lblURL)) << other;
  }

  help.MoveMouseOver(H::lblURL);
  help.Click(H::lblURL);
  EXPECT_EQ(shell_.opened, std::vector<std::string>{"https://velquin.io in C:\\"});
  EXPECT_EQ(Help(), &help);  // still open, still underlined
  EXPECT_TRUE(help.Underlined(H::lblURL));
  EXPECT_EQ(help.Text(H::lblURL), "https://velquin.io");
}

TEST_F(HelpFormTest, OkClosesAndTheNextOpeningStartsFromTheDesign) {
  testing::FakeWindow& main = StartMain();
  main.Click(cmdHelp);
  Help()->MoveMouseOver(H::lblURL);
  Help()->Click(H::cmdOK);
  EXPECT_EQ(Help(), nullptr);

  main.Click(cmdHelp);
  ASSERT_NE(Help(), nullptr);
  EXPECT_FALSE(Help()->Underlined(H::lblURL));
  EXPECT_EQ(toolkit_.created, 3);  // main, help, help again

  Help()->PressCloseButton();
  EXPECT_EQ(Help(), nullptr);
}

TEST_F(HelpFormTest, ClosingTheMainWindowClosesBothHelpWindows) {
  testing::FakeWindow& main = StartMain();
  main.Click(cmdHelp);
  main.Click(cmdME);
  main.Click(cmdHelpM);
  ASSERT_EQ(toolkit_.open.size(), 3u);

  main.PressCloseButton();
  EXPECT_TRUE(toolkit_.open.empty());
  EXPECT_TRUE(mainClosed_);
}

TEST_F(HelpFormTest, ClosingTheMainWindowWithNoHelpOpenRaisesNothing) {
  testing::FakeWindow& main = StartMain();
  main.Click(cmdHelp);
  Help()->Click(H::cmdOK);
  EXPECT_NO_THROW(main.PressCloseButton());
  EXPECT_TRUE(toolkit_.open.empty());
  EXPECT_TRUE(mainClosed_);
}

}  // namespace
}  // namespace velquin
