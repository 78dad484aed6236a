#pragma once
#include <string>

#include "console/buffered_ini_file.h"

// The console's one settings file. It is opened when the program loads, before any window,
// and written back when the program ends, after the data module has saved into it.

// The program's path with the extension ".ini", or the value of a switch "I:" (-I:path,
// /i:path), in the case typed.
std::string SettingsFilePath();
// (Re)opens the settings on path, made absolute against the current directory.
void OpenSettingsFile(const std::string& path);
// Writes the settings back and releases them; a failure to write is ignored.
void CloseSettingsFile();
// The open settings; raises when none is open.
TBufferedIniFile& SettingsFile();
