#include "JackMidiInputs.h"

#include <jack/midiport.h>

#include <cerrno>
#include <chrono>
#include <mutex>
#include <thread>
#include <type_traits>

namespace mvk::examples {

namespace {

void silent(const char*) {}

struct Writers {
    std::mutex lock;
    int holders = 0;
    void (*error)(const char*) = nullptr;
    void (*info)(const char*) = nullptr;
};

// One per library, set up before any code of it runs and with nothing to tear down: a guard
// may be released while statics are destroyed, and unloading the library frees nothing.
static_assert(std::is_trivially_destructible_v<Writers>);
constinit Writers shared;

Writers& writers() {
    return shared;
}

} // namespace

JackMessagesMuted::JackMessagesMuted() {
    Writers& w = writers();
    std::lock_guard<std::mutex> hold(w.lock);
    if (w.holders++ > 0)
        return;
    w.error = jack_error_callback;
    w.info = jack_info_callback;
    jack_set_error_function(&silent);
    jack_set_info_function(&silent);
}

JackMessagesMuted::~JackMessagesMuted() {
    Writers& w = writers();
    std::lock_guard<std::mutex> hold(w.lock);
    if (--w.holders > 0)
        return;
    if (jack_error_callback == &silent)
        jack_set_error_function(w.error);
    if (jack_info_callback == &silent)
        jack_set_info_function(w.info);
}

std::unique_ptr<JackMidiInputs> JackMidiInputs::join(const char* client) {
    std::unique_ptr<JackMidiInputs> made(new JackMidiInputs);
    {
        JackMessagesMuted muted;
        jack_status_t status{};
        made->handle = jack_client_open(client, JackNoStartServer, &status);
    }
    if (made->handle == nullptr)
        return nullptr;
    jack_on_shutdown(
        made->handle,
        [](void* self) {
            static_cast<JackMidiInputs*>(self)->serverGone.store(true, std::memory_order_release);
        },
        made.get());
    if (jack_set_process_callback(made->handle, &JackMidiInputs::process, made.get()) != 0 ||
        jack_activate(made->handle) != 0)
        return nullptr;  // the destructor leaves the server
    return made;
}

JackMidiInputs::~JackMidiInputs() {
    if (handle == nullptr)
        return;
    // Returns once no cycle runs the process callback any more, so no sink is called after.
    if (!gone())
        jack_deactivate(handle);
    jack_client_close(handle);
}

std::vector<std::string> JackMidiInputs::sources() const {
    std::vector<std::string> found;
    if (gone())
        return found;
    const char** names = jack_get_ports(handle, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput);
    if (names == nullptr)
        return found;
    for (const char** name = names; *name != nullptr; ++name)
        if (**name != '\0')
            found.emplace_back(*name);
    jack_free(names);
    return found;
}

int JackMidiInputs::open(const std::string& source, Sink sink, void* context) {
    if (gone())
        return -1;
    int id = 0;
    while (id < MaxInputs && slots[id].port.load(std::memory_order_relaxed) != nullptr)
        ++id;
    if (id == MaxInputs)
        return -1;
    // Port names only have to be unique within this client; the source's name would not do,
    // since it holds a colon of its own.
    const std::string name = "in " + std::to_string(++portsMade);
    jack_port_t* port =
        jack_port_register(handle, name.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    if (port == nullptr)
        return -1;
    // By name: a port listed a moment ago may have gone, and another may have come, but a name
    // stands for one port at a time. Whether the connection is in place shows only from the
    // cycle that takes it in (see live()).
    const int connected = jack_connect(handle, source.c_str(), jack_port_name(port));
    if (connected != 0 && connected != EEXIST) {
        jack_port_unregister(handle, port);
        return -1;
    }
    Slot& slot = slots[id];
    slot.sink = sink;
    slot.context = context;
    slot.live.store(false, std::memory_order_relaxed);
    slot.port.store(port, std::memory_order_seq_cst);
    // Only this thread writes it; the process callback reads it.
    if (inUse.load(std::memory_order_relaxed) < id + 1)
        inUse.store(id + 1, std::memory_order_release);
    return id;
}

void JackMidiInputs::close(int id) {
    if (id < 0 || id >= MaxInputs)
        return;
    Slot& slot = slots[id];
    jack_port_t* port = slot.port.exchange(nullptr, std::memory_order_seq_cst);
    if (port == nullptr)
        return;
    waitOneCycle();
    if (!gone())
        jack_port_unregister(handle, port);
    slot.sink = nullptr;
    slot.context = nullptr;
}

bool JackMidiInputs::live(int id) const {
    return id >= 0 && id < MaxInputs && slots[id].live.load(std::memory_order_acquire);
}

bool JackMidiInputs::connectedTo(int id, const std::string& source) const {
    if (id < 0 || id >= MaxInputs || gone())
        return false;
    jack_port_t* port = slots[id].port.load(std::memory_order_acquire);
    return port != nullptr && jack_port_connected(port) == 1 &&
           jack_port_connected_to(port, source.c_str());
}

void JackMidiInputs::waitOneCycle() const {
    // The callback counts the cycles it starts and ends; one that began before the caller's
    // change has ended once the ended count reaches the started count read after the change.
    const uint64_t started = cyclesStarted.load(std::memory_order_seq_cst);
    while (cyclesDone.load(std::memory_order_acquire) < started && !gone())
        std::this_thread::sleep_for(std::chrono::microseconds(100));
}

int JackMidiInputs::process(jack_nframes_t frames, void* self) {
    auto* inputs = static_cast<JackMidiInputs*>(self);
    inputs->cyclesStarted.fetch_add(1, std::memory_order_seq_cst);
    const int used = inputs->inUse.load(std::memory_order_acquire);
    for (int id = 0; id < used; ++id) {
        Slot& slot = inputs->slots[id];
        jack_port_t* port = slot.port.load(std::memory_order_seq_cst);
        if (port == nullptr)
            continue;
        // In the process thread this reads the graph of the cycle that runs now.
        if (!slot.live.load(std::memory_order_relaxed) && jack_port_connected(port) > 0)
            slot.live.store(true, std::memory_order_release);
        void* buffer = jack_port_get_buffer(port, frames);
        const uint32_t count = jack_midi_get_event_count(buffer);
        for (uint32_t i = 0; i < count; ++i) {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, buffer, i) == 0 && event.size > 0)
                slot.sink(slot.context, event.buffer, event.size);
        }
    }
    inputs->cyclesDone.fetch_add(1, std::memory_order_release);
    return 0;
}

} // namespace mvk::examples
