#pragma once
#include <QString>
#include <string>
#include <string_view>

// 8-bit text of the system's code page to and from what Qt shows.
QString ToQString(std::string_view text);
std::string FromQString(const QString& text);
