#pragma once
// A JACK server of the test's own, on the dummy back end (no sound card), under a name no other
// process uses; clients of this process find it through JACK_DEFAULT_SERVER. Never a system-wide
// server. Without real-time scheduling unless asked for (benchmarks), since tests must run where
// nobody grants it.
#include <jack/jack.h>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace qvn::test {

class PrivateJackServer {
public:
    struct Timing {
        int period = 64;  // frames per cycle: 64 frames at 48 kHz are 1.3 ms
        int rate = 48000; // frames per second
        bool realtime = false;
        // Each cycle waits for every client to finish. Without it, the server starts the next
        // cycle on time and a client that ran late on a loaded machine loses what was sent to it
        // in the cycle it missed; with it, a message sent once arrives.
        bool synchronous = true;
    };

    PrivateJackServer() : PrivateJackServer(Timing{}) {}
    explicit PrivateJackServer(const Timing& timing)
        : name("quorvane-test-" + std::to_string(getpid())) {
        const std::string jackd = "/usr/bin/jackd";
        if (access(jackd.c_str(), X_OK) != 0) {
            failure = jackd + " is not installed";
            return;
        }
        child = fork();
        if (child == 0) {
            // A test that is killed must not leave its server behind.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            const std::string frames = std::to_string(timing.period);
            const std::string rate = std::to_string(timing.rate);
            if (freopen("/dev/null", "w", stdout) == nullptr ||
                freopen("/dev/null", "w", stderr) == nullptr)
                _exit(127);
            std::vector<const char*> arguments = {
                "jackd", timing.realtime ? "--realtime" : "--no-realtime", "-n", name.c_str()};
            if (timing.synchronous)
                arguments.push_back("--sync");
            for (const char* backEnd : {"-d", "dummy", "-r", rate.c_str(), "-p", frames.c_str()})
                arguments.push_back(backEnd);
            arguments.push_back(nullptr);
            execv(jackd.c_str(), const_cast<char* const*>(arguments.data()));
            _exit(127);
        }
        setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);
        // Until the server is up, every probe fails; that is expected, not worth a message.
        jack_set_error_function([](const char*) {});
        jack_set_info_function([](const char*) {});
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < end) {
            jack_status_t status{};
            jack_client_t* probe = jack_client_open(
                "quorvane-test-probe",
                static_cast<jack_options_t>(JackNoStartServer | JackServerName), &status,
                name.c_str());
            if (probe != nullptr) {
                jack_client_close(probe);
                return;
            }
            int state = 0;
            if (waitpid(child, &state, WNOHANG) == child) {
                child = -1;
                failure = "jackd with the dummy back end exited at start";
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        failure = "jackd with the dummy back end did not answer within 10 s";
    }
    ~PrivateJackServer() {
        unsetenv("JACK_DEFAULT_SERVER");
        jack_set_error_function(nullptr);
        jack_set_info_function(nullptr);
        if (child > 0) {
            kill(child, SIGTERM);
            int state = 0;
            waitpid(child, &state, 0);
        }
    }
    PrivateJackServer(const PrivateJackServer&) = delete;
    PrivateJackServer& operator=(const PrivateJackServer&) = delete;

    // Empty when the server runs; otherwise why it does not.
    const std::string& error() const { return failure; }

private:
    std::string name;
    std::string failure;
    pid_t child = -1;
};

} // namespace qvn::test
