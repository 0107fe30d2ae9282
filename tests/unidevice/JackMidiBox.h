#pragma once
// A MIDI fader box on a JACK server: a client of the given name with one MIDI output port "out",
// as a hardware box appears through a bridge. What send() queues goes out, one event per call,
// at the start of the next cycle.
//
// Pulling the box out (destroying it) stops the client's processing before it frees the queue
// the process callback reads. A generic MIDI output class that frees its queue first and closes
// its client after leaves that callback reading freed memory whenever the cycle in flight is
// preempted, which a loaded machine with a non-real-time server does often enough to crash a
// test now and then.
#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace qvn::test {

class JackMidiBox {
public:
    // Joins the server JACK_DEFAULT_SERVER names; error() says why when it could not.
    explicit JackMidiBox(const std::string& client) {
        jack_status_t status{};
        handle = jack_client_open(client.c_str(), JackNoStartServer, &status);
        if (handle == nullptr) {
            failure = "no JACK server to join";
            return;
        }
        queue = jack_ringbuffer_create(QueueBytes);
        // The port comes after the activation: the server refuses to connect a port of a client
        // that is not active yet, and the driver connects to a port as soon as it is listed.
        if (queue == nullptr ||
            jack_set_process_callback(handle, &JackMidiBox::process, this) != 0 ||
            jack_activate(handle) != 0) {
            failure = "the box's client could not start";
            return;
        }
        port = jack_port_register(handle, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        if (port == nullptr)
            failure = "the box's client could not register its port";
    }
    ~JackMidiBox() {
        if (handle != nullptr) {
            // Returns once no cycle runs the callback any more.
            jack_deactivate(handle);
            jack_client_close(handle);
        }
        if (queue != nullptr)
            jack_ringbuffer_free(queue);
    }
    JackMidiBox(const JackMidiBox&) = delete;
    JackMidiBox& operator=(const JackMidiBox&) = delete;

    const std::string& error() const { return failure; }

    // One MIDI event of up to MaxEvent bytes; dropped when the queue is full.
    void send(const std::vector<unsigned char>& bytes) {
        const auto size = static_cast<uint32_t>(bytes.size());
        if (queue == nullptr || size == 0 || size > MaxEvent ||
            jack_ringbuffer_write_space(queue) < sizeof size + size)
            return;
        // In one write, so that the callback never sees a size without its bytes.
        std::vector<char> framed(sizeof size + size);
        std::memcpy(framed.data(), &size, sizeof size);
        std::memcpy(framed.data() + sizeof size, bytes.data(), size);
        jack_ringbuffer_write(queue, framed.data(), framed.size());
    }

private:
    static constexpr size_t QueueBytes = 16384;
    static constexpr uint32_t MaxEvent = 256;

    static int process(jack_nframes_t frames, void* self) {
        auto* box = static_cast<JackMidiBox*>(self);
        jack_port_t* out = box->port;
        if (out == nullptr)
            return 0;
        void* buffer = jack_port_get_buffer(out, frames);
        jack_midi_clear_buffer(buffer);
        uint32_t size = 0;
        jack_midi_data_t event[MaxEvent];
        while (jack_ringbuffer_read_space(box->queue) >= sizeof size) {
            jack_ringbuffer_read(box->queue, reinterpret_cast<char*>(&size), sizeof size);
            jack_ringbuffer_read(box->queue, reinterpret_cast<char*>(event), size);
            jack_midi_event_write(buffer, 0, event, size);
        }
        return 0;
    }

    jack_client_t* handle = nullptr;
    std::atomic<jack_port_t*> port{nullptr};
    jack_ringbuffer_t* queue = nullptr;
    std::string failure;
};

} // namespace qvn::test
