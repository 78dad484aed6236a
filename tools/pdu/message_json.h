#pragma once
#include <string>
#include <string_view>

class TSMS2;
class TCellBroadcast;

// One JSON object, on one line, with every decoded field of the message.
std::string MessageJson(const TSMS2& sms);
std::string MessageJson(const TCellBroadcast& page);

// {"line":N,"error":"..."} for an input line that gave no message.
std::string ErrorJson(size_t line, std::string_view message);
