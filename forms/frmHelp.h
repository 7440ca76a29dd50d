#pragma once

#include "forms/HelpForm.h"

namespace velquin {

// The name editor's help window.
inline constexpr HelpTexts kFrmHelpTexts{
    "Name Editor - Help", "How does the name editor work?",
    "The name editor allows you to use hexed chars in your player name. This can not be done in DF:TFD so "
    "that "
    "is what the name editor is for! To get all the chars, press the button \"Charmap\"."};

}  // namespace velquin
