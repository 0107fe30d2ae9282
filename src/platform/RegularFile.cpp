#include "platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace mvk::platform {

namespace {

bool isRegular(const struct stat& status) {
    return S_ISREG(status.st_mode);
}

} // namespace

// The path is looked at before it is opened, so a device is never opened at all; the open file
// is looked at again, since the path may have been replaced in between. Opening without
// blocking is what keeps a FIFO from waiting for a writer.
RegularFile::RegularFile(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        problem = std::strerror(errno);
        return;
    }
    if (!isRegular(status)) {
        problem = "not a regular file";
        return;
    }
    const int opened = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (opened < 0) {
        problem = std::strerror(errno);
        return;
    }
    if (::fstat(opened, &status) != 0 || !isRegular(status)) {
        ::close(opened);
        problem = "not a regular file";
        return;
    }
    descriptor = opened;
    length = static_cast<uint64_t>(status.st_size);
}

RegularFile::~RegularFile() {
    if (descriptor >= 0)
        ::close(descriptor);
}

bool RegularFile::readAt(void* into, size_t count, uint64_t offset) const {
    auto* bytes = static_cast<char*>(into);
    size_t done = 0;
    while (done < count) {
        const ssize_t got =
            ::pread(descriptor, bytes + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += static_cast<size_t>(got);
    }
    return true;
}

// The size is only a hint: a file that grows or shrinks meanwhile is read to its actual end.
bool RegularFile::readAll(std::string& contents) const {
    if (descriptor < 0)
        return false;
    constexpr size_t MinimumChunk = 1 << 16;
    std::string text;
    size_t used = 0;
    for (;;) {
        const size_t wanted = std::max<size_t>(MinimumChunk, static_cast<size_t>(length) + 1);
        if (text.size() < used + wanted)
            text.resize(used + wanted);
        const ssize_t got =
            ::pread(descriptor, text.data() + used, text.size() - used, static_cast<off_t>(used));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        used += static_cast<size_t>(got);
    }
    text.resize(used);
    contents = std::move(text);
    return true;
}

} // namespace mvk::platform
