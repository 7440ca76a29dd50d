#include "forms/HelpForm.h"

#include "forms/Hyperlink.h"

namespace velquin {

namespace {
constexpr std::uint32_t kPureBlue = 0x0000FF;
}  // namespace

HelpDesign::HelpDesign(const HelpTexts& texts, const Catalogue& words)
    : controls{{
          {lblName, "lblName", -1, ControlKind::Label, 120, 120, 3495, 255, texts.heading},
          {lblEx, "lblEx", -1, ControlKind::Label, 120, 600, 3615, 975, texts.explanation},
          {cmdOK, "cmdOK", -1, ControlKind::CommandButton, 1200, 2520, 1455, 375, words[TextId::cmdOK],
           kWindowFont, kDefaultColor, 1, true, true},
          {lblCreator, "lblCreator", -1, ControlKind::Label, 120, 1680, 3615, 255, words[TextId::lblCreator]},
          {lblURL, "lblURL", -1, ControlKind::Label, 120, 2040, 1815, 255, kWebAddress, kButtonFont,
           kPureBlue},
      }},
      form{texts.caption, 3855, 3030, controls, {}} {}

HelpForm::HelpForm(Toolkit& toolkit, Shell& shell, const HelpDesign& design)
    : Form(toolkit, design.form), shell_(shell) {}

void HelpForm::OnClick(ControlId control) {
  if (control == HelpDesign::cmdOK) cmdOK_Click();
  if (control == HelpDesign::lblURL) lblURL_Click();
}

void HelpForm::OnMouseMove(ControlId control) {
  if (control == kFormBackground) Form_MouseMove();
  if (control == HelpDesign::lblURL) lblURL_MouseMove();
}

void HelpForm::cmdOK_Click() {
  Unload();
}

// Set on every move, whatever it was before.
void HelpForm::Form_MouseMove() {
  window().SetUnderline(HelpDesign::lblURL, false);
}

void HelpForm::lblURL_MouseMove() {
  window().SetUnderline(HelpDesign::lblURL, true);
}

void HelpForm::lblURL_Click() {
  OpenWebsite(shell_);
}

}  // namespace velquin
