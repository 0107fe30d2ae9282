#include "MidiPorts.h"

#include "JackMidiInputs.h"
#include "MidiDecoder.h"
#include "MidiDevice.h"

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

enum Api { Alsa = 0, Jack = 1 };

} // namespace

// One open port. Its messages arrive on RtMidi's thread (ALSA) or on JACK's process thread.
struct MidiPorts::Input {
    int api;
    std::string listed;
    std::shared_ptr<LatestValues> inbox;
    MidiDecoder decoder;
    std::unique_ptr<RtMidiIn> in;  // ALSA
    int jackInput = -1;            // JACK: the input's number among the back end's inputs
    bool seen = false;             // carries what its source sends (see ready())
    std::chrono::steady_clock::time_point opened = std::chrono::steady_clock::now();

    void take(const unsigned char* bytes, size_t size) {
        decoder.feed(bytes, size, [this](const MidiValue& value) {
            const int32_t index = MidiDecoder::indexOf(value);
            inbox->store(MidiDecoder::typeName(value.type), index, value.value, 0, [&] {
                return MidiDevice::slotFor(static_cast<int>(value.type), index);
            });
        });
    }
    static void fromRtMidi(double, std::vector<unsigned char>* message, void* self) {
        if (message != nullptr && !message->empty())
            static_cast<Input*>(self)->take(message->data(), message->size());
    }
    static void fromJack(void* self, const unsigned char* bytes, size_t size) {
        static_cast<Input*>(self)->take(bytes, size);
    }
};

struct MidiPorts::BackEnds {
    std::unique_ptr<RtMidiIn> alsa;      // lists the sequencer's ports; null without a sequencer
    std::unique_ptr<JackMidiInputs> jack;  // null while no JACK server runs
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
    // JACK stops calling the inputs' sinks before they go.
    backs->jack.reset();
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
            wake.wait_for(hold, waitingForCycle ? ReadyRecheck : ScanInterval,
                          [this] { return stopping; });
    }
}

bool MidiPorts::scanAlsa(std::vector<std::string>& listed) {
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
    for (unsigned int i = 0; i < count; ++i) {
        // Empty when the port went between counting and naming.
        std::string name = backs->alsa->getPortName(i);
        if (!name.empty())
            listed.push_back(std::move(name));
    }
    return true;
}

bool MidiPorts::scanJack(std::vector<std::string>& listed) {
    if (backs->jack == nullptr)
        backs->jack = JackMidiInputs::join(ClientName);
    if (backs->jack == nullptr)
        return false;
    listed = backs->jack->sources();
    return true;
}

bool MidiPorts::openAlsa(Input& input) {
    try {
        input.in = std::make_unique<RtMidiIn>(RtMidi::LINUX_ALSA, ClientName);
        input.in->setErrorCallback(&quiet);
        input.in->ignoreTypes(false, true, true);
        input.in->setCallback(&Input::fromRtMidi, &input);
        // The sequencer names its ports with their client and port numbers, which no other port
        // has while this one exists: the name is looked up again just before opening, and after
        // opening the same place must still hold it, or what opened may be another port.
        const unsigned int count = input.in->getPortCount();
        unsigned int index = 0;
        while (index < count && input.in->getPortName(index) != input.listed)
            ++index;
        if (index == count)
            return false;
        input.in->openPort(index, "in");
        if (input.in->isPortOpen() && input.in->getPortName(index) == input.listed)
            return true;
    } catch (const RtMidiError&) {
    }
    input.in.reset();
    return false;
}

void MidiPorts::close(Identity& identity) {
    if (identity.open == nullptr)
        return;
    if (identity.open->api == Jack && backs->jack != nullptr)
        backs->jack->close(identity.open->jackInput);
    identity.open.reset();
    identity.inbox->rest();
}

bool MidiPorts::ready(Input& input) {
    if (input.seen)
        return true;
    if (input.api == Alsa) {
        input.seen = true;
    } else if (backs->jack->live(input.jackInput)) {
        // Connected by name, so only the named source can be there; what the cycle's graph
        // holds is checked all the same before the port counts as present.
        input.seen = backs->jack->connectedTo(input.jackInput, input.listed);
    }
    return input.seen;
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
        new Identity{name, ofName, std::make_shared<LatestValues>(ControlCap), nullptr, false}));
    return *identities.back();
}

void MidiPorts::scan() {
    bool changed = false;
    // A JACK server that shut down takes its inputs with it; a new one is looked for below.
    if (backs->jack != nullptr && backs->jack->gone()) {
        for (const auto& identity : identities)
            if (identity->open != nullptr && identity->open->api == Jack) {
                changed = changed || identity->open->seen;
                close(*identity);
            }
        backs->jack.reset();
    }
    std::vector<std::string> alsa;
    std::vector<std::string> jack;
    const bool hasAlsa = scanAlsa(alsa);
    const bool hasJack = scanJack(jack);
    const std::vector<std::string>* listed[2] = {&alsa, &jack};
    auto isListed = [&](int api, const std::string& name) {
        for (const std::string& other : *listed[api])
            if (other == name)
                return true;
        return false;
    };

    // Ports that went: their inputs close and their controls rest. A JACK port that went and
    // came back between two looks is listed as before, but the server dropped the connection
    // with the port that went: an input that carried messages and is no longer connected is
    // closed here and opened again below. So is one that never carried any, long after it was
    // connected: its port may have gone before the connection took, and another of the same
    // name come.
    const auto now = std::chrono::steady_clock::now();
    for (const auto& identity : identities) {
        const Input* input = identity->open.get();
        if (input == nullptr ||
            (isListed(input->api, input->listed) &&
             (input->api != Jack ||
              (input->seen ? backs->jack->connectedTo(input->jackInput, input->listed)
                           : now - input->opened < PendingLimit))))
            continue;
        changed = changed || identity->open->seen;
        close(*identity);
    }
    // Ports that came: each takes an identity and opens.
    bool opened = false;
    for (int api : {Alsa, Jack}) {
        for (const std::string& name : *listed[api]) {
            bool known = false;
            for (const auto& identity : identities)
                known = known || (identity->open != nullptr && identity->open->api == api &&
                                  identity->open->listed == name);
            const std::string stable = stableName(name);
            if (known || stable.empty())
                continue;
            Identity& identity = identityFor(stable);
            auto input = std::make_unique<Input>();
            input->api = api;
            input->listed = name;
            input->inbox = identity.inbox;
            if (api == Alsa ? !openAlsa(*input)
                            : (input->jackInput = backs->jack->open(name, &Input::fromJack,
                                                                    input.get())) < 0)
                continue;  // gone meanwhile, or tried again at the next look
            identity.open = std::move(input);
            opened = true;
            lastOpened = std::chrono::steady_clock::now();
        }
    }
    // A port counts as present once what its source sends arrives; JACK takes a connection into
    // its graph at the start of a cycle after it was made, so new ones get a few cycles here and
    // are looked at again at every later look.
    const auto patience =
        std::chrono::steady_clock::now() + (opened ? ReadyWait : std::chrono::milliseconds(0));
    for (;;) {
        bool waiting = false;
        for (const auto& identity : identities) {
            if (identity->open == nullptr || identity->open->seen)
                continue;
            if (ready(*identity->open)) {
                identity->shown = true;
                changed = true;
            } else {
                waiting = true;
            }
        }
        waitingForCycle =
            waiting && std::chrono::steady_clock::now() - lastOpened < std::chrono::seconds(2);
        if (!waiting || std::chrono::steady_clock::now() >= patience)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    std::string nowAnswered = hasAlsa && hasJack ? "ALSA, JACK"
                              : hasAlsa          ? "ALSA"
                              : hasJack          ? "JACK"
                                                 : "";
    std::lock_guard<std::mutex> hold(lock);
    answered = nowAnswered;
    if (!changed && generation != 0)
        return;
    // Identities whose port never carried anything are not shown: no device for a port that
    // went before it could be read.
    published.clear();
    for (const auto& identity : identities)
        if (identity->shown)
            published.push_back(Port{identity->name, identity->ordinal, identity->inbox,
                                     identity->open != nullptr && identity->open->seen});
    ++generation;
}

} // namespace mvk::examples
