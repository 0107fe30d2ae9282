#include "platform/ShellFolders.h"

#include "platform/DynamicLibrary.h"

#include <QStandardPaths>

#include <cstdlib>
#include <filesystem>

namespace mvk::platform {

namespace {

std::string rootFromModule() {
    const std::filesystem::path module = modulePathOf(reinterpret_cast<const void*>(&installRoot));
    if (module.empty())
        return {};
    const std::filesystem::path lib = module.parent_path();
    const std::filesystem::path product = lib.parent_path();
    if (lib.filename() != "lib" || product.filename() != "quorvane")
        return {};
    return std::filesystem::absolute(product.parent_path()).lexically_normal().string();
}

} // namespace

std::string installRoot() {
    if (const char* root = std::getenv("QUORVANE_INSTALL_ROOT"); root != nullptr && *root != '\0')
        return root;
    std::string root = rootFromModule();
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    return root;
}

std::string documentsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
}

std::string desktopFolder() {
    std::string desktop =
        QStandardPaths::writableLocation(QStandardPaths::DesktopLocation).toStdString();
    if (!desktop.empty())
        return desktop;
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

std::string executablePath() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.string();
}

} // namespace mvk::platform
