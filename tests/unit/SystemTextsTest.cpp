// The system's own texts and the main window's tab order, letter for letter, checked once
// against their wording here rather than against the constants that hold them.
#include <gtest/gtest.h>

#include "core/DefaultMacros.h"
#include "core/Saves.h"
#include "forms/HelpForm.h"
#include "forms/Hyperlink.h"
#include "forms/frmHelp.h"
#include "forms/frmHelpM.h"
#include "forms/frmMainDesign.h"

namespace velquin {
namespace {

TEST(SystemTextsTest, EveryTextReadsAsWritten) {
  const std::pair<std::string_view, std::string_view> texts[] = {
      {kDefaultMacros[0], "***I'm on offense!!!***"},
      {kDefaultMacros[1], "***I'm on defense!!!***"},
      {kDefaultMacros[2], "***Snipers take overwatch positions!!!*"},
      {kDefaultMacros[3], "***Guard the base!!!***"},
      {kDefaultMacros[4], "***I'm on point, cover me!!!****"},
      {kDefaultMacros[5], "***I'll cover you!!!***"},
      {kDefaultMacros[6], "***I've got the flag!!!***"},
      {kDefaultMacros[7], "***Help cover incomming flag!!!***"},
      {kDefaultMacros[8], "***Enemy sniper shooting at base***"},
      {kDefaultMacros[9], "***I need a medic***"},
      {kNamesSaved, "Names saved!"},
      {kNamesNotSaved, "Can't save names!"},
      {kMacrosSaved, "Messages saved!"},
      {kMacrosNotSaved, "Can't save messages!"},
      {frmMainDesign::Design().caption, "Velquin for DF:TFD"},
      {frmMainDesign::kMacroEditorClosed, "Macro Editor >>"},
      {frmMainDesign::kMacroEditorOpen, "Macro Editor <<"},
      {kFrmHelpTexts.caption, "Name Editor - Help"},
      {kFrmHelpTexts.heading, "How does the name editor work?"},
      {kFrmHelpTexts.explanation,
       "The name editor allows you to use hexed chars in your player name. This can not be done in DF:TFD so "
       "that is what the name editor is for! To get all the chars, press the button \"Charmap\"."},
      {kFrmHelpMTexts.caption, "Macro Editor - Help"},
      {kFrmHelpMTexts.heading, "How does the macro editor work?"},
      {kFrmHelpMTexts.explanation,
       "With the macro editor you can change the sentences that can be found under the hotkeys SHIFT + F1 "
       "to SHIFT + F10, these hotkeys only work IN DF:TFD."},
      {kWebAddress, "https://velquin.io"},
  };
  for (const auto& [text, written] : texts) EXPECT_EQ(text, written);
}

// Each control's name and caption in the order of its tab index.
TEST(SystemTextsTest, TheMainWindowsControlsStandInTheirTabOrder) {
  const FormDesign& design = frmMainDesign::Design();
  std::vector<const ControlDesign*> byTab;
  for (const ControlDesign& c : design.controls) {
    if (c.kind != ControlKind::Line) byTab.push_back(&c);
  }
  std::sort(byTab.begin(), byTab.end(), [](auto* a, auto* b) { return a->id < b->id; });
  std::string order;
  for (std::size_t tab = 0; tab < byTab.size(); ++tab) {
    ASSERT_EQ(byTab[tab]->id, static_cast<ControlId>(tab));
    order +=
        std::string(byTab[tab]->name) + (byTab[tab]->index >= 0 ? std::to_string(byTab[tab]->index) : "");
    if (!byTab[tab]->caption.empty()) order += "=" + std::string(byTab[tab]->caption);
    order += ";";
  }
  EXPECT_EQ(order,
            "txtPlayer0;txtPlayer1;txtPlayer2;txtPlayer3;txtPlayer4;cmdHelp=Help;cmdCharmap=Charmap;"
            "cmdSave=Save Names;lblPlayer0=Character 1;lblPlayer1=Character 2;lblPlayer2=Character 3;"
            "lblPlayer3=Character 4;lblPlayer4=Character 5;StatusBar;cmdME=Macro Editor >>;txtMsg0;txtMsg1;"
            "txtMsg2;txtMsg3;txtMsg4;txtMsg5;txtMsg6;txtMsg7;txtMsg8;txtMsg9;cmdHelpM=Help;"
            "cmdDefault=Default;cmdSaveM=Save Macros;lblMsg0=SHIFT + F1;lblMsg1=SHIFT + F2;"
            "lblMsg2=SHIFT + F3;lblMsg3=SHIFT + F4;lblMsg4=SHIFT + F5;lblMsg5=SHIFT + F6;"
            "lblMsg6=SHIFT + F7;lblMsg7=SHIFT + F8;lblMsg8=SHIFT + F9;lblMsg9=SHIFT + F10;");
}

}  // namespace
}  // namespace velquin
