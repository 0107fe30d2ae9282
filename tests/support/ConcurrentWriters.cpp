#include "support/ConcurrentWriters.h"

#include <sys/wait.h>
#include <unistd.h>

namespace qvn::test {

namespace {

[[noreturn]] void runWriter(int writer, int rounds, const std::function<bool(int)>& write) {
    for (int round = 0; round < rounds; ++round)
        if (!write(writer))
            _exit(1);
    // No exit handlers: the test framework's state belongs to the parent.
    _exit(0);
}

bool succeeded(int status) {
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

int runTwoWriters(int rounds, const std::function<bool(int writer)>& write,
                  const std::function<void()>& check) {
    pid_t writers[2] = {-1, -1};
    for (int writer = 0; writer < 2; ++writer) {
        writers[writer] = fork();
        if (writers[writer] == 0)
            runWriter(writer, rounds, write);
    }
    // A writer that could not be started counts as failed.
    int running = (writers[0] > 0 ? 1 : 0) + (writers[1] > 0 ? 1 : 0);
    int failed = 2 - running;
    while (running > 0) {
        check();
        for (pid_t& pid : writers) {
            int status = 0;
            if (pid <= 0 || waitpid(pid, &status, WNOHANG) != pid)
                continue;
            failed += succeeded(status) ? 0 : 1;
            pid = -1;
            --running;
        }
    }
    return failed;
}

} // namespace qvn::test
