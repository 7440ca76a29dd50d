#pragma once

#include <memory>
#include <string>

#include "platform/CodePage.h"

namespace velquin {

// The converter of a Windows ANSI code page by its number; null for a double-byte code page
// (932, 936, 949, 950), UTF-8 (65001) and every other one but 874 and 1250 to 1258.
std::unique_ptr<CodePage> MakeAnsiCodePage(int number);

// Why MakeAnsiCodePage gives nothing for the number, as one English sentence for the status
// bar; empty when it gives a converter.
std::string WhyNoAnsiCodePage(int number);

}  // namespace velquin
