#pragma once
// The install folder (read-only program data) and the user data folder (log, settings, profiles).
#include <string>

namespace mvk::qvn::core {

// The install root followed by the folder of `key`: "data" -> "/quorvane/data", "plugin" ->
// "/quorvane/plugins/linux/x64", "doc" -> "/quorvane/doc", "prm" -> "/quorvane/prm", "" and
// "qvn" -> "/quorvane"; any other key -> the root alone. Empty when the root is unknown.
std::string getInstallPath(const std::string& key);
// The documents folder + "/Morvik Vedidedivu/quorvane"; empty when unknown.
std::string getUserDataPath();
// The folder of the core's own data: user data + "/data/core".
std::string getCoreDataPath();

} // namespace mvk::qvn::core
