#include "support/StuckReaderRelease.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qvn::test {

StuckReaderRelease::StuckReaderRelease(const std::string& fifoPath,
                                       std::chrono::milliseconds patience)
    : path(fifoPath), made(mkfifo(fifoPath.c_str(), 0600) == 0) {
    if (made)
        watcher = std::thread([this, patience] { watch(patience); });
}

StuckReaderRelease::~StuckReaderRelease() {
    finished();
}

void StuckReaderRelease::finished() {
    {
        std::lock_guard<std::mutex> guard(lock);
        done = true;
    }
    changed.notify_all();
    if (watcher.joinable())
        watcher.join();
}

// A reader waiting in open() already counts as a reader, so a non-blocking open for writing
// succeeds exactly when one is stuck; until then it fails and is tried again.
void StuckReaderRelease::watch(std::chrono::milliseconds patience) {
    std::unique_lock<std::mutex> guard(lock);
    if (changed.wait_for(guard, patience, [this] { return done; }))
        return;
    for (;;) {
        const int descriptor = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (descriptor >= 0) {
            didRelease = true;
            ::close(descriptor);
            return;
        }
        if (changed.wait_for(guard, std::chrono::milliseconds(50), [this] { return done; }))
            return;
    }
}

} // namespace qvn::test
