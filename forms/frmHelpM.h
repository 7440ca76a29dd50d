#pragma once

#include "forms/HelpForm.h"

namespace velquin {

// The macro editor's help window.
inline constexpr HelpTexts kFrmHelpMTexts{
    "Macro Editor - Help", "How does the macro editor work?",
    "With the macro editor you can change the sentences that can be found under the hotkeys SHIFT + F1 to "
    "SHIFT + F10, these hotkeys only work IN DF:TFD."};

}  // namespace velquin
