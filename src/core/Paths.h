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
// Makes `folder` exist with the levels it lacks, but never makes the user data folder or a folder
// above it (the documents folder among them): those belong to the user and the installer, and
// without them nothing is stored. True when the folder exists afterwards.
bool createDataFolder(const std::string& folder);

} // namespace mvk::qvn::core
