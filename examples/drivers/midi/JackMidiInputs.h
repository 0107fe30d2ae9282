#pragma once
// The MIDI inputs read through a JACK server: one client of this driver with an input port per
// source, each connected to its source by the source's name. One client, not one per source,
// means one thread woken per JACK cycle however many boxes are plugged in.
//
// A source's messages go to its sink on JACK's process thread. An input counts as live from the
// first cycle that ran with its connection in place: what the source sends from then on arrives,
// while what it sent before may have gone nowhere.
#include <jack/jack.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mvk::examples {

// libjack writes its errors and notes through one pair of writers per process. A failing probe
// for a server that does not run is not worth a message, so probes take this guard: the first
// holder in the process installs silent writers, the last one out puts back what was there
// before, unless somebody installed writers of their own meanwhile, which then stay.
class JackMessagesMuted {
public:
    JackMessagesMuted();
    ~JackMessagesMuted();
    JackMessagesMuted(const JackMessagesMuted&) = delete;
    JackMessagesMuted& operator=(const JackMessagesMuted&) = delete;
};

class JackMidiInputs {
public:
    // Called on JACK's process thread with one MIDI event.
    using Sink = void (*)(void* context, const unsigned char* bytes, size_t size);
    // Sources open at once at most; the ones past it wait until another goes.
    static constexpr int MaxInputs = 128;

    // Joins the server JACK_DEFAULT_SERVER names (never starts one) as `client`; null when no
    // server answers.
    static std::unique_ptr<JackMidiInputs> join(const char* client);
    // Stops processing, then leaves the server; no sink is called after this returns.
    ~JackMidiInputs();
    JackMidiInputs(const JackMidiInputs&) = delete;
    JackMidiInputs& operator=(const JackMidiInputs&) = delete;

    // True once the server has shut down; nothing is delivered any more.
    bool gone() const { return serverGone.load(std::memory_order_acquire); }
    // The server's MIDI output ports by full name ("client:port"), as sources to read.
    std::vector<std::string> sources() const;

    // Makes an input port and connects `source` to it by name. The input's number, or -1 when
    // the source has gone meanwhile (or no room is left); nothing is left behind then.
    int open(const std::string& source, Sink sink, void* context);
    // Disconnects and removes input `id`; its sink is not called any more once this returns.
    void close(int id);
    // True once a cycle has run with input `id` connected.
    bool live(int id) const;
    // True while the port named `source` is connected to input `id`, and no other port is; asked
    // once the input is live, this tells that the input reads exactly that source.
    bool connectedTo(int id, const std::string& source) const;

private:
    struct Slot {
        std::atomic<jack_port_t*> port{nullptr};
        Sink sink = nullptr;
        void* context = nullptr;
        std::atomic<bool> live{false};
    };

    JackMidiInputs() = default;
    static int process(jack_nframes_t frames, void* self);
    // Waits until every cycle that had begun by the time of the call has ended.
    void waitOneCycle() const;

    jack_client_t* handle = nullptr;
    std::atomic<bool> serverGone{false};
    std::atomic<uint64_t> cyclesStarted{0};
    std::atomic<uint64_t> cyclesDone{0};
    std::atomic<int> inUse{0};  // slots from 0 up to this may hold a port
    unsigned long portsMade = 0;
    Slot slots[MaxInputs];
};

} // namespace mvk::examples
