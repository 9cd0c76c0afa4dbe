// The game's icon for the desktop: the kangaroo on its badge.
#pragma once

#include <string>

namespace art {

// Writes the icon into an icon-theme folder `dir` (as "hicolor/<n>x<n>/apps/
// vantaroo.png" at every size a menu asks for, and as
// "hicolor/scalable/apps/vantaroo.svg"); false when a file cannot be written.
bool writeIcons(const std::string& dir);

}  // namespace art
