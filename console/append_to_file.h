#pragma once
#include <string>

// The file name that switches a log off.
inline constexpr const char* kNullFileName = "NUL";

// Appends text to the file, creating it when missing; other writers are kept out while it is
// open, and it is closed again at once. "NUL" (with case) does nothing. Failures raise
// EFileError with the file's name and the system's reason.
void AppendToFile(const std::string& fileName, const std::string& text);
