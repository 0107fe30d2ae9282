#pragma once
// Opens a help file or a web address with the desktop's own viewer.
#include <string>

namespace mvk::qvn::core {

// A local path or an address with a scheme. Without a display nothing can show it, so the
// request only goes to the log.
void openExternalDocument(const std::string& pathOrAddress);

} // namespace mvk::qvn::core
