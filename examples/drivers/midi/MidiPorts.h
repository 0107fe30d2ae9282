#pragma once
// Watches the MIDI input ports of the ALSA sequencer and, while a JACK server runs, of JACK, on a
// thread of its own: opens every port that appears, closes every port that goes, and feeds each
// open port's messages into the latest-value slots of its identity. Opening a port takes a round
// trip to the sequencer or the JACK server, so none of it happens on the host's thread. A port is
// published as present only once what its source sends arrives.
//
// A port's identity is its name and its place among ports of that name. A port that goes keeps
// its identity and slots, resting; the next port of the same name takes the first such identity
// that waits, so whatever was bound to it follows.
#include "../common/LatestValues.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace mvk::examples {

class MidiPorts {
public:
    // Ports are looked for this often while the driver is in use.
    static constexpr std::chrono::milliseconds ScanInterval{200};
    // After this long without a poll the watcher sleeps until the next one.
    static constexpr std::chrono::seconds IdleAfter{5};
    static constexpr size_t ControlCap = 1024;
    // How long a look waits for new ports to carry messages before it publishes them; ports
    // that take longer are published by a later look.
    static constexpr std::chrono::milliseconds ReadyWait{100};
    // ... and how soon the next look comes while one still waits (a loaded machine runs JACK's
    // cycles late).
    static constexpr std::chrono::milliseconds ReadyRecheck{10};
    // A JACK port that has not carried messages this long after it was connected is opened anew.
    static constexpr std::chrono::seconds PendingLimit{1};

    struct Port {
        std::string name;
        int32_t ordinal;
        std::shared_ptr<LatestValues> inbox;
        bool present;
    };

    // Starts the watcher and waits for its first look at the ports.
    MidiPorts();
    ~MidiPorts();
    MidiPorts(const MidiPorts&) = delete;
    MidiPorts& operator=(const MidiPorts&) = delete;

    // Host thread: says the driver is in use, so the watcher keeps looking; cheap.
    void touch();
    // Host thread: every identity seen so far, when something changed since the last call
    // (true), in the order they were first seen.
    bool changes(std::vector<Port>& ports);
    // Which back ends answered at the last look: "ALSA", "JACK", both or none.
    std::string backEnds() const;

    // "Client:Port 24:0" as the ALSA sequencer lists it loses its client and port numbers,
    // which change from one plug-in to the next.
    static std::string stableName(const std::string& listed);

private:
    struct Input;
    struct Identity {
        std::string name;
        int32_t ordinal;
        std::shared_ptr<LatestValues> inbox;
        std::unique_ptr<Input> open;  // null while the port is away
        bool shown;                   // its port has carried messages at least once
    };

    void run();
    void scan();
    // The ports each back end lists now, by name; false when the back end is not there.
    bool scanAlsa(std::vector<std::string>& listed);
    bool scanJack(std::vector<std::string>& listed);
    // Opens the sequencer port `input` names; false when it is not there (any more).
    bool openAlsa(Input& input);
    // True once the port carries what its source sends.
    bool ready(Input& input);
    void close(Identity& identity);
    Identity& identityFor(const std::string& name);

    mutable std::mutex lock;
    std::condition_variable wake;
    bool stopping = false;
    bool firstLookDone = false;
    std::chrono::steady_clock::time_point lastTouch;
    uint64_t generation = 0;
    uint64_t handedOut = 0;

    // Watcher thread only.
    std::vector<std::unique_ptr<Identity>> identities;
    // A port opened in the last two seconds does not carry messages yet.
    bool waitingForCycle = false;
    std::chrono::steady_clock::time_point lastOpened;
    struct BackEnds;
    std::unique_ptr<BackEnds> backs;

    std::vector<Port> published;  // under lock
    std::string answered;         // under lock
    std::thread watcher;
};

} // namespace mvk::examples
