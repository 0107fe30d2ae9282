#include "platform/FileSystem.h"

#include "platform/RegularFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace mvk::platform {

namespace {

// Temporary files are hidden and end in a random part, so no listing pattern of ours ("*.mcp",
// "*.mip", "settings.xml") ever takes one left behind by a crash for data.
std::string temporaryNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    static thread_local std::mt19937_64 random{std::random_device{}()};
    const size_t slash = path.find_last_of('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + "." + name + "." + std::to_string(::getpid()) + "-" +
           std::to_string(counter++) + "-" + std::to_string(random() % 1000000007u);
}

// A new file of our own, or -1 with `temporary` empty.
int createTemporaryFor(const std::string& path, std::string& temporary) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary = temporaryNameFor(path);
        const int descriptor =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (descriptor >= 0)
            return descriptor;
        if (errno != EEXIST)
            break;
    }
    temporary.clear();
    return -1;
}

bool writeAll(int descriptor, const std::string& contents) {
    size_t done = 0;
    while (done < contents.size()) {
        const ssize_t written = ::write(descriptor, contents.data() + done, contents.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

// The rename itself is only durable once the folder's entry is on disk as well.
void syncFolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    ::fsync(descriptor);
    ::close(descriptor);
}

} // namespace

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

bool readRegularFile(const std::string& path, std::string& contents) {
    const RegularFile file(path);
    return file.isOpen() && file.readAll(contents);
}

bool replaceFile(const std::string& path, const std::string& contents) {
    std::string temporary;
    const int descriptor = createTemporaryFor(path, temporary);
    if (descriptor < 0)
        return false;
    bool done = writeAll(descriptor, contents) && ::fsync(descriptor) == 0;
    done = ::close(descriptor) == 0 && done;
    done = done && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!done) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolderOf(path);
    return true;
}

bool folderExists(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

} // namespace mvk::platform
