#pragma once
// Folder listing, folder creation, file reading, replacement and removal.
#include <string>
#include <vector>

namespace mvk::platform {

// Names (not paths) of the regular files in `folder` whose names match `pattern` ("*" any run,
// "?" one byte), sorted byte-wise so every machine lists them in the same order. A missing
// folder lists nothing.
std::vector<std::string> listFiles(const std::string& folder, const std::string& pattern);
// True when `name` matches the wildcard `pattern`.
bool wildcardMatch(const std::string& pattern, const std::string& name);
// Names of the sub-folders of `folder`, sorted byte-wise; symbolic links are left out so a
// recursive walk cannot loop.
std::vector<std::string> listFolders(const std::string& folder);
// Creates one folder level; an existing folder or a missing parent is not reported.
void createFolder(const std::string& path);
// Creates a folder with all missing parents (the installer's job, used by hosts and tests).
bool createFolders(const std::string& path);
// Deletes a file; false when it could not be removed.
bool removeFile(const std::string& path);
bool fileExists(const std::string& path);
// The whole content of a regular file. False, with `contents` untouched, when the file is
// missing, unreadable or anything but a regular file (a FIFO, socket, device or folder).
bool readRegularFile(const std::string& path, std::string& contents);
// Replaces the file at `path` with `contents` as one step: the bytes go to a temporary file of
// this writer's own in the same folder, reach the disk, and are then renamed over `path`.
// Readers see the old file or the new one, never a part; concurrent writers never share a
// temporary file. On failure the previous file stays and the temporary file is removed.
bool replaceFile(const std::string& path, const std::string& contents);
bool folderExists(const std::string& path);

} // namespace mvk::platform
