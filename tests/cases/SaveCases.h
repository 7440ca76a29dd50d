#pragma once

// What the user does and what must follow, shared by the end-to-end suite of each toolkit:
// the real exe under Wine and the native program's windows. Texts are UTF-8.
#include <string>
#include <utility>
#include <vector>

#include "forms/frmMainDesign.h"

namespace velquin::cases {

using namespace std::literals;
using Bytes = std::vector<unsigned char>;

inline void Put(Bytes& file, std::size_t offset, const std::string& bytes) {
  std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
}

// A player file of realistic size with a pattern that has no zero byte, names and macros in
// place. Byte 0xE9 is é in code page 1252.
inline Bytes StoredPlayerFile() {
  Bytes file(12 + 5 * 2108);
  for (std::size_t i = 0; i < file.size(); ++i) file[i] = static_cast<unsigned char>(1 + i % 251);
  const char* names[] = {"Alpha", "B\xE9ta", "Gamma", "Delta", "Epsilon"};
  for (std::size_t k = 0; k < 5; ++k) Put(file, 12 + 2108 * k, names[k] + std::string(1, 0));
  for (std::size_t m = 0; m < 10; ++m) Put(file, 228 + 40 * m, "macro " + std::to_string(m) + '\0');
  return file;
}

// One save as the user makes it over the stored file: what is typed, which buttons are
// pressed, and what the status bar and the file must say afterwards.
struct SaveCase {
  const char* name;
  std::vector<std::pair<ControlId, std::string>> typed;
  std::vector<ControlId> pressed;
  std::string status;
  std::vector<std::pair<std::size_t, std::string>> changed;  // offset, bytes; nothing else changes
  // The first presses made while another program holds plyr.sav open without sharing it, as
  // the game does; it lets go before the rest. Run where a driver can hold the file.
  std::size_t pressesWhileHeld = 0;
};

// The ten stock macros as their slots hold them, a full slot keeping one zero byte.
inline const std::vector<std::pair<std::size_t, std::string>> kStockMacroFields = {
    {228, "***I'm on offense!!!***\0\0"s},
    {268, "***I'm on defense!!!***\0\0"s},
    {308, "***Snipers take overwatch positions!!!*\0"s},
    {348, "***Guard the base!!!***\0\0"s},
    {388, "***I'm on point, cover me!!!****\0\0"s},
    {428, "***I'll cover you!!!***\0\0"s},
    {468, "***I've got the flag!!!***\0\0"s},
    {508, "***Help cover incomming flag!!!***\0\0"s},
    {548, "***Enemy sniper shooting at base***\0\0"s},
    {588, "***I need a medic***\0\0"s}};

inline const SaveCase kSaveCases[] = {
    {"an edited name lands in code page 1252, every name with its two zero bytes",
     {{frmMainDesign::txtPlayer(2), "Zo\u00EB\u2122"}},
     {frmMainDesign::cmdSave},
     "Names saved!",
     {{12, "Alpha\0\0"s},
      {2120, "B\xE9ta\0\0"s},
      {4228, "Zo\xEB\x99\0\0"s},
      {6336, "Delta\0\0"s},
      {8444, "Epsilon\0\0"s}}},
    {"the default macros fill their slots, a full slot keeps one zero byte",
     {},
     {frmMainDesign::cmdME, frmMainDesign::cmdDefault, frmMainDesign::cmdSaveM},
     "Messages saved!",
     kStockMacroFields},
    {"Default fills the macro boxes and writes nothing by itself",
     {},
     {frmMainDesign::cmdME, frmMainDesign::cmdDefault},
     "",
     {}},
    {"a character outside the code page saves nothing",
     {{frmMainDesign::txtPlayer(0), "Ok"}, {frmMainDesign::txtPlayer(3), "\u0416uk"}},
     {frmMainDesign::cmdSave},
     "Can't save names!",
     {}},
    {"a Windows program holding the file open: Save Names fails and writes nothing",
     {{frmMainDesign::txtPlayer(0), "Other"}},
     {frmMainDesign::cmdSave},
     "Can't save names!",
     {},
     1},
    {"once the program holding the file lets go, Save Macros works",
     {},
     {frmMainDesign::cmdME, frmMainDesign::cmdDefault, frmMainDesign::cmdSaveM, frmMainDesign::cmdSaveM},
     "Messages saved!",
     kStockMacroFields,
     3},
};

}  // namespace velquin::cases
