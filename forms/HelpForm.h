#pragma once

#include <array>
#include <string_view>

#include "forms/Catalogue.h"
#include "forms/Form.h"

namespace velquin {

// What sets the two help windows apart.
struct HelpTexts {
  std::string_view caption;
  std::string_view heading;
  std::string_view explanation;

  static HelpTexts frmHelp(const Catalogue& words) {
    return {words[TextId::frmHelp_Caption], words[TextId::frmHelp_lblName], words[TextId::frmHelp_lblEx]};
  }
  static HelpTexts frmHelpM(const Catalogue& words) {
    return {words[TextId::frmHelpM_Caption], words[TextId::frmHelpM_lblName], words[TextId::frmHelpM_lblEx]};
  }
};

// The controls both help windows share, by tab index, and the whole window made from texts.
struct HelpDesign {
  static constexpr ControlId lblName = 0;
  static constexpr ControlId lblEx = 1;
  static constexpr ControlId cmdOK = 2;
  static constexpr ControlId lblCreator = 3;
  static constexpr ControlId lblURL = 4;

  HelpDesign(const HelpTexts& texts, const Catalogue& words);
  // `form` points at `controls`: a copy would point at the original's.
  HelpDesign(const HelpDesign&) = delete;
  HelpDesign& operator=(const HelpDesign&) = delete;

  std::array<ControlDesign, 5> controls;
  FormDesign form;
};

// A help window: heading, explanation, credit, the web link that underlines under the
// pointer, and OK. Escape and the close button close it like OK.
class HelpForm final : public Form {
 public:
  HelpForm(Toolkit& toolkit, Shell& shell, const HelpDesign& design);

  void OnClick(ControlId control) override;
  void OnMouseMove(ControlId control) override;

 private:
  void cmdOK_Click();
  void Form_MouseMove();
  void lblURL_MouseMove();
  void lblURL_Click();

  Shell& shell_;
};

}  // namespace velquin
