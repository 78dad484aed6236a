#pragma once
#include <string>
#include <string_view>

// The system's 8-bit code page is Windows-1252: 8-bit strings cross into wide (UTF-16) strings
// only at the automation boundary, and every byte must come back unchanged, the euro sign 0x80
// included. The five codes the page leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the
// control characters of the same value, so they survive too.
std::u16string WidenCP1252(std::string_view text);

// Characters the code page cannot show become '?'.
std::string NarrowCP1252(std::u16string_view text);
