#include "MidiPorts.h"

#include "MidiDecoder.h"
#include "MidiDevice.h"

#include <jack/jack.h>
#include <rtmidi/RtMidi.h>

#include <atomic>
#include <regex>
#include <sys/stat.h>

namespace mvk::examples {

namespace {

constexpr const char* ClientName = "Quorvane MIDI";

// RtMidi reports warnings on standard error unless told otherwise; the host's console is not
// the place for a port that could not be opened.
void quiet(RtMidiError::Type, const std::string&, void*) {}

bool sequencerPresent() {
    struct stat info {};
    return stat("/dev/snd/seq", &info) == 0;
}

// Silences libjack while a probe for a server that may not run fails, then puts back whatever
// error and info writers the host has installed.
class JackMessagesMuted {
public:
    JackMessagesMuted() : error(jack_error_callback), info(jack_info_callback) {
        jack_set_error_function([](const char*) {});
        jack_set_info_function([](const char*) {});
    }
    ~JackMessagesMuted() {
        jack_set_error_function(error);
        jack_set_info_function(info);
    }

private:
    void (*error)(const char*);
    void (*info)(const char*);
};

enum Api { Alsa = 0, Jack = 1 };

RtMidi::Api rtApi(int api) { return api == Alsa ? RtMidi::LINUX_ALSA : RtMidi::UNIX_JACK; }

} // namespace

// One open port: its RtMidi input, whose thread (or JACK's process thread) runs onMessage.
struct MidiPorts::Input {
    int api;
    std::string listed;
    std::shared_ptr<LatestValues> inbox;
    MidiDecoder decoder;
    std::unique_ptr<RtMidiIn> in;

    static void onMessage(double, std::vector<unsigned char>* message, void* self) {
        auto* input = static_cast<Input*>(self);
        if (message == nullptr || message->empty())
            return;
        input->decoder.feed(message->data(), message->size(), [input](const MidiValue& value) {
            const int32_t index = MidiDecoder::indexOf(value);
            input->inbox->store(MidiDecoder::typeName(value.type), index, value.value, 0, [&] {
                return MidiDevice::slotFor(static_cast<int>(value.type), index);
            });
        });
    }
};

struct MidiPorts::BackEnds {
    std::unique_ptr<RtMidiIn> alsa;   // lists the sequencer's ports; null without a sequencer
    jack_client_t* probe = nullptr;   // tells whether the JACK server is still there
    std::atomic<bool> jackGone{false};
    std::unique_ptr<RtMidiIn> jack;   // lists JACK's MIDI outputs while a server runs

    ~BackEnds() { dropJack(); }
    void dropJack() {
        jack.reset();
        if (probe != nullptr)
            jack_client_close(probe);
        probe = nullptr;
        jackGone = false;
    }
};

MidiPorts::MidiPorts() : lastTouch(std::chrono::steady_clock::now()), backs(new BackEnds) {
    watcher = std::thread([this] { run(); });
    std::unique_lock<std::mutex> hold(lock);
    wake.wait_for(hold, std::chrono::seconds(5), [this] { return firstLookDone; });
}

MidiPorts::~MidiPorts() {
    {
        std::lock_guard<std::mutex> hold(lock);
        stopping = true;
    }
    wake.notify_all();
    watcher.join();
    // Inputs close before the back ends that listed them.
    identities.clear();
    backs.reset();
}

void MidiPorts::touch() {
    bool wasIdle = false;
    {
        std::lock_guard<std::mutex> hold(lock);
        const auto now = std::chrono::steady_clock::now();
        wasIdle = now - lastTouch > IdleAfter;
        lastTouch = now;
    }
    if (wasIdle)
        wake.notify_all();
}

bool MidiPorts::changes(std::vector<Port>& ports) {
    std::lock_guard<std::mutex> hold(lock);
    if (handedOut == generation)
        return false;
    handedOut = generation;
    ports = published;
    return true;
}

std::string MidiPorts::backEnds() const {
    std::lock_guard<std::mutex> hold(lock);
    return answered;
}

std::string MidiPorts::stableName(const std::string& listed) {
    static const std::regex numbers(R"( \d+:\d+$)");
    return std::regex_replace(listed, numbers, "");
}

void MidiPorts::run() {
    std::unique_lock<std::mutex> hold(lock);
    while (!stopping) {
        hold.unlock();
        scan();
        hold.lock();
        firstLookDone = true;
        wake.notify_all();
        const bool idle = std::chrono::steady_clock::now() - lastTouch > IdleAfter;
        if (idle)
            wake.wait(hold, [this] {
                return stopping || std::chrono::steady_clock::now() - lastTouch <= IdleAfter;
            });
        else
            wake.wait_for(hold, ScanInterval, [this] { return stopping; });
    }
}

bool MidiPorts::scanAlsa(std::vector<std::pair<int, std::string>>& listed) {
    if (backs->alsa == nullptr) {
        if (!sequencerPresent())
            return false;
        try {
            backs->alsa = std::make_unique<RtMidiIn>(RtMidi::LINUX_ALSA, ClientName);
            backs->alsa->setErrorCallback(&quiet);
        } catch (const RtMidiError&) {
            return false;
        }
    }
    const unsigned int count = backs->alsa->getPortCount();
    for (unsigned int i = 0; i < count; ++i)
        listed.emplace_back(static_cast<int>(i), backs->alsa->getPortName(i));
    return true;
}

bool MidiPorts::scanJack(std::vector<std::pair<int, std::string>>& listed) {
    if (backs->jackGone)
        backs->dropJack();
    if (backs->probe == nullptr) {
        JackMessagesMuted muted;
        jack_status_t status{};
        backs->probe = jack_client_open("Quorvane MIDI watch", JackNoStartServer, &status);
        if (backs->probe == nullptr)
            return false;
        jack_on_shutdown(
            backs->probe, [](void* self) { static_cast<BackEnds*>(self)->jackGone = true; },
            backs.get());
        if (jack_activate(backs->probe) != 0) {
            backs->dropJack();
            return false;
        }
        try {
            backs->jack = std::make_unique<RtMidiIn>(RtMidi::UNIX_JACK, ClientName);
            backs->jack->setErrorCallback(&quiet);
        } catch (const RtMidiError&) {
            backs->dropJack();
            return false;
        }
    }
    const unsigned int count = backs->jack->getPortCount();
    for (unsigned int i = 0; i < count; ++i)
        listed.emplace_back(static_cast<int>(i), backs->jack->getPortName(i));
    return true;
}

MidiPorts::Identity& MidiPorts::identityFor(const std::string& name) {
    Identity* waiting = nullptr;
    int32_t ofName = 0;
    for (const auto& identity : identities) {
        if (identity->name != name)
            continue;
        ++ofName;
        if (identity->open == nullptr && (waiting == nullptr || identity->ordinal < waiting->ordinal))
            waiting = identity.get();
    }
    if (waiting != nullptr)
        return *waiting;
    identities.push_back(std::unique_ptr<Identity>(
        new Identity{name, ofName, std::make_shared<LatestValues>(ControlCap), nullptr}));
    return *identities.back();
}

void MidiPorts::scan() {
    std::vector<std::pair<int, std::string>> alsa;
    std::vector<std::pair<int, std::string>> jack;
    const bool hasAlsa = scanAlsa(alsa);
    const bool hasJack = scanJack(jack);
    const std::vector<std::pair<int, std::string>>* listed[2] = {&alsa, &jack};
    bool changed = false;

    // Ports that went: their inputs close and their controls rest.
    for (const auto& identity : identities) {
        if (identity->open == nullptr)
            continue;
        bool still = false;
        for (const auto& [index, name] : *listed[identity->open->api])
            still = still || name == identity->open->listed;
        if (!still) {
            identity->open.reset();
            identity->inbox->rest();
            changed = true;
        }
    }
    // Ports that came: each takes an identity and opens.
    for (int api : {Alsa, Jack}) {
        for (const auto& [index, name] : *listed[api]) {
            bool known = false;
            for (const auto& identity : identities)
                known = known || (identity->open != nullptr && identity->open->api == api &&
                                  identity->open->listed == name);
            if (known)
                continue;
            Identity& identity = identityFor(stableName(name));
            auto input = std::make_unique<Input>();
            input->api = api;
            input->listed = name;
            input->inbox = identity.inbox;
            try {
                input->in = std::make_unique<RtMidiIn>(rtApi(api), ClientName);
                input->in->setErrorCallback(&quiet);
                input->in->ignoreTypes(false, true, true);
                input->in->setCallback(&Input::onMessage, input.get());
                input->in->openPort(static_cast<unsigned int>(index), "in");
            } catch (const RtMidiError&) {
                continue;  // tried again at the next look
            }
            identity.open = std::move(input);
            changed = true;
        }
    }

    std::string nowAnswered = hasAlsa && hasJack ? "ALSA, JACK"
                              : hasAlsa          ? "ALSA"
                              : hasJack          ? "JACK"
                                                 : "";
    std::lock_guard<std::mutex> hold(lock);
    answered = nowAnswered;
    if (!changed && generation != 0)
        return;
    published.clear();
    for (const auto& identity : identities)
        published.push_back(
            Port{identity->name, identity->ordinal, identity->inbox, identity->open != nullptr});
    ++generation;
}

} // namespace mvk::examples
