#pragma once

#include <array>
#include <string_view>

#include "core/PlayerFileLayout.h"

namespace velquin {

// The stock macros for SHIFT+F1 to SHIFT+F10, kept letter for letter ("incomming" too).
inline constexpr std::array<std::string_view, kMacroSlots> kDefaultMacros = {
    "***I'm on offense!!!***",
    "***I'm on defense!!!***",
    "***Snipers take overwatch positions!!!*",
    "***Guard the base!!!***",
    "***I'm on point, cover me!!!****",
    "***I'll cover you!!!***",
    "***I've got the flag!!!***",
    "***Help cover incomming flag!!!***",
    "***Enemy sniper shooting at base***",
    "***I need a medic***",
};

}  // namespace velquin
