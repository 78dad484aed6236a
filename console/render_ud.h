#pragma once
#include <string>

// User data made printable for the message log: CR and LF become "<CR>" and "<LF>", other
// characters from 0x20 up stay; if any other control character occurs, the whole text is
// given as hexadecimal instead (A, CR, TAB gives "410D09").
std::string RenderUD(const std::string& text);
