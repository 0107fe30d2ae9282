#include "platform/FileSystem.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace mvk::platform {

bool wildcardMatch(const std::string& pattern, const std::string& name) {
    // Iterative matcher with single-star backtracking: linear in practice, never recursive.
    size_t p = 0, n = 0, starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string> listFiles(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator it(folder.empty() ? "." : folder, error);
    if (error)
        return names;
    for (const auto& entry : it) {
        std::error_code typeError;
        if (!entry.is_regular_file(typeError))
            continue;
        std::string name = entry.path().filename().string();
        if (wildcardMatch(pattern, name))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> listFolders(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator it(folder.empty() ? "." : folder, error);
    if (error)
        return names;
    for (const auto& entry : it) {
        std::error_code typeError;
        if (entry.is_symlink(typeError) || !entry.is_directory(typeError))
            continue;
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void createFolder(const std::string& path) {
    std::error_code error;
    fs::create_directory(path, error);
}

bool createFolders(const std::string& path) {
    std::error_code error;
    fs::create_directories(path, error);
    return fs::is_directory(path, error);
}

bool removeFile(const std::string& path) {
    std::error_code error;
    return fs::remove(path, error);
}

bool fileExists(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool folderExists(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

} // namespace mvk::platform
