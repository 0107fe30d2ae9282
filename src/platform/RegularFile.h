#pragma once
// A regular file opened for reading. Anything else (a FIFO, socket, device or folder) is refused
// while opening, without blocking: a special file named like one of our files must never stall
// the reader or pass for data.
#include <cstddef>
#include <cstdint>
#include <string>

namespace mvk::platform {

class RegularFile {
public:
    explicit RegularFile(const std::string& path);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    // False when the path is missing, unreadable or not a regular file; why() tells which.
    bool isOpen() const { return descriptor >= 0; }
    const std::string& why() const { return problem; }
    // The size when it was opened.
    uint64_t size() const { return length; }
    // True when exactly `count` bytes could be read at `offset`.
    bool readAt(void* into, size_t count, uint64_t offset) const;
    // Reads the file from its start to its current end; false on a read error.
    bool readAll(std::string& contents) const;

private:
    int descriptor = -1;
    uint64_t length = 0;
    std::string problem;
};

} // namespace mvk::platform
