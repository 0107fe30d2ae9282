#include "core/Paths.h"

#include "platform/DynamicLibrary.h"
#include "platform/ShellFolders.h"

namespace mvk::qvn::core {

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

} // namespace mvk::qvn::core
