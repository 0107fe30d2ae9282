#pragma once
// Creates a FIFO and keeps a test from hanging on it: if whatever the test runs has not
// finished within `patience`, a helper thread opens the FIFO for writing and closes it again,
// which ends a reader's wait with an empty read. released() then tells that a reader was stuck.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace qvn::test {

class StuckReaderRelease {
public:
    StuckReaderRelease(const std::string& fifoPath, std::chrono::milliseconds patience);
    // Calls finished() if the test did not.
    ~StuckReaderRelease();
    StuckReaderRelease(const StuckReaderRelease&) = delete;
    StuckReaderRelease& operator=(const StuckReaderRelease&) = delete;

    bool created() const { return made; }
    // The test's work is over; the helper thread ends.
    void finished();
    bool released() const { return didRelease; }

private:
    void watch(std::chrono::milliseconds patience);

    std::string path;
    bool made = false;
    bool done = false;
    bool didRelease = false;
    std::mutex lock;
    std::condition_variable changed;
    std::thread watcher;
};

} // namespace qvn::test
