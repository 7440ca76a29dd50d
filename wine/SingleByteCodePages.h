#pragma once

#include <string>

namespace velquin {

// Velquin converts the single-byte Windows ANSI code pages (874, 1250 to 1258) through
// IconvCodePage, and no other: not a double-byte one (932, 936, 949, 950), nor UTF-8 (65001).
// Why a code page number gets no converter, as one English sentence for the status bar; empty
// when IconvCodePage::Open gives one.
std::string WhyNoAnsiCodePage(int number);

}  // namespace velquin
