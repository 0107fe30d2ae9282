#pragma once
// Where the program is installed and where the user's folders are.
#include <string>

namespace mvk::platform {

// The install root: $QUORVANE_INSTALL_ROOT when set, else the folder deduced from the location
// of the code asking (a library in <root>/quorvane/lib/); empty when neither works.
std::string installRoot();
// The user's documents folder (XDG aware); empty when unknown.
std::string documentsFolder();
// The user's desktop folder, falling back to $HOME; empty when neither is known.
std::string desktopFolder();
// The running program's own file; empty when unknown.
std::string executablePath();

} // namespace mvk::platform
