#include "unit/FormsFixture.h"

namespace velquin {
namespace {

using namespace frmMainDesign;
using H = HelpDesign;

class HelpFormTest : public testing::FormsFixture {
 protected:
  testing::FakeWindow* Help() { return toolkit_.Find("Name Editor - Help"); }
};

TEST_F(HelpFormTest, EachPressShowsTheOneHelpWindowAgainAndMakesItActive) {
  testing::FakeWindow& main = StartMain();
  for (int i = 0; i < 3; ++i) main.Click(cmdHelp);
  EXPECT_EQ(toolkit_.Count("Name Editor - Help"), 1);
  EXPECT_EQ(Help()->activations, 3);
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

// With no help window open there is nothing to close and nothing raised.
TEST_F(HelpFormTest, ClosingTheMainWindowWithNoHelpOpenEndsTheProgram) {
  testing::FakeWindow& main = StartMain();
  EXPECT_NO_THROW(main.PressCloseButton());
  EXPECT_TRUE(toolkit_.open.empty());
  EXPECT_TRUE(mainClosed_);
}

}  // namespace
}  // namespace velquin
