#pragma once
#include <cstdint>
#include <string>

// The library's bitmap resources as BMP files: resource 1 is the control's 24 x 24, 16-colour
// icon, the one a container's toolbox shows and the design window paints. Empty for an id the
// library does not carry.
const std::string& LibraryBitmap(int id);

inline constexpr int kControlBitmapId = 1;
