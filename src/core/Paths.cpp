#include "core/Paths.h"

#include "platform/DynamicLibrary.h"
#include "platform/FileSystem.h"
#include "platform/ShellFolders.h"

#include <filesystem>

namespace mvk::qvn::core {

namespace {

namespace fs = std::filesystem;

// Comparable form: no ".", "..", doubled or trailing separators.
fs::path normalised(const std::string& folder) {
    fs::path path = fs::path(folder).lexically_normal();
    if (!path.has_filename() && path.has_relative_path())
        path = path.parent_path();
    return path;
}

// True when `folder` is `other` or one of the folders above it.
bool isAtOrAbove(const fs::path& folder, const fs::path& other) {
    auto within = other.begin();
    for (const fs::path& part : folder) {
        if (within == other.end() || *within != part)
            return false;
        ++within;
    }
    return true;
}

} // namespace

std::string getInstallPath(const std::string& key) {
    std::string path = platform::installRoot();
    if (path.empty())
        return {};
    if (key == "data")
        path += "/quorvane/data";
    else if (key == "plugin")
        path += std::string("/quorvane/plugins/") + platform::platformFolder;
    else if (key == "doc")
        path += "/quorvane/doc";
    else if (key == "prm")
        path += "/quorvane/prm";
    else if (key.empty() || key == "qvn")
        path += "/quorvane";
    return path;
}

std::string getUserDataPath() {
    const std::string documents = platform::documentsFolder();
    if (documents.empty())
        return {};
    return documents + "/Morvik Vedidedivu/quorvane";
}

std::string getCoreDataPath() { return getUserDataPath() + "/data/core"; }

bool createDataFolder(const std::string& folder) {
    if (folder.empty())
        return false;
    const std::string userData = getUserDataPath();
    const fs::path guarded = normalised(userData);
    // Walk up through the levels that would be made, up to the first one that exists.
    std::error_code error;
    for (fs::path level = normalised(folder); !level.empty() && !fs::exists(level, error);
         level = level.parent_path()) {
        if (!userData.empty() && isAtOrAbove(level, guarded))
            return false;
        if (level == level.parent_path())
            break;
    }
    return platform::createFolders(folder);
}

} // namespace mvk::qvn::core
