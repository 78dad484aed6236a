#pragma once
#include <string>

#include "platform/sys/stream.h"

// A string on a stream: its length as 2 bytes little-endian, then its bytes. Strings are
// limited to 65,535 bytes; a longer
// one raises EWriteError "Stream write error" before anything is written. A stream that ends early raises EReadError "Stream read error".
void ReadStreamString(TStream& stream, std::string& S);
void WriteStreamString(TStream& stream, const std::string& S);
