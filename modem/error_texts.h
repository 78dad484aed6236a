#pragma once
#include <string>
#include <string_view>

// The text of a device error by its key: 5000 + n for "+CME ERROR: n", 6000 + n for
// "+CMS ERROR: n"; nullptr for a code without a text.
const char* ErrorTextByKey(int key);

// The failure text for a final result line of a command:
// "+CMS ERROR: 330 \"SMSC address unknown\" was returned on AT command: AT+CMGS=...".
std::string ReturnedErrorText(std::string_view line, std::string_view command);
