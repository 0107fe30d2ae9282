// From a value leaving the sender to the bound property reading it in the host's poll: OSC over
// the loopback interface and MIDI through a private JACK server, with the driver libraries
// loaded the way the core loads them. Also the cost of a sustained OSC stream.
#include "unidevice/PrivateJackServer.h"
#include "unidevice/OscTestSupport.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/DriverLoader.h"
#include "unidevice/Property.h"

#include <benchmark/benchmark.h>
#include <rtmidi/RtMidi.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <time.h>
#include <vector>

namespace {

using namespace mvk::unidevice;
using namespace std::chrono;
using qvn::test::freeUdpPort;
using qvn::test::OscSender;
using qvn::test::waitUntil;

// The input layer of a host with one driver library loaded.
struct LoadedDriver {
    explicit LoadedDriver(const char* file) {
        loader.loadLibrary(std::string(QVN_DRIVER_DIR) + "/" + file, DriverContext());
    }
    ~LoadedDriver() {
        DeviceHandler::instance()->destroy();
        loader.freeAll();
    }
    DriverLoader loader;
};

Control* control(const std::string& device, const std::string& type, int index) {
    return DeviceHandler::instance()->findControl(mvk::util::xml::Element(
        "<control device=\"" + device + "\" type=\"" + type + "\" index=\"" +
        std::to_string(index) + "\"/>"));
}

void report(benchmark::State& state, std::vector<double>& micros) {
    if (micros.empty())
        return;
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
    state.counters["max_us"] = micros.back();
}

// Each iteration sends a new fader value and polls (updateAll, then the property's value, as a
// recorded frame does) until the property shows it.
void OscSendToPropertyLatency(benchmark::State& state) {
    LoadedDriver osc("osc.so");
    const uint16_t port = freeUdpPort();
    osc.loader.applySettings({{"osc.enabled", "1"}, {"osc.port", std::to_string(port)},
                              {"osc.loopbackOnly", "1"}});
    const std::string device = "OSC :" + std::to_string(port);
    OscSender phone(port);
    Property pan("pan", ControlKind::Finite);
    pan.setDeadzone(0);
    phone.fader("/1/fader1", 0.0f);
    waitUntil([&] {
        DeviceHandler::instance()->updateAll();
        return pan.bind(control(device, "/1/fader1", 0)) != 0 && pan.control()->current() == 0.0;
    });
    std::vector<double> micros;
    int step = 0;
    for (auto _ : state) {
        const float value = static_cast<float>(++step % 1000) / 1000.0f;
        const auto sent = steady_clock::now();
        phone.fader("/1/fader1", value);
        do
            DeviceHandler::instance()->updateAll();
        while (pan.value() != value);
        micros.push_back(duration<double, std::micro>(steady_clock::now() - sent).count());
    }
    report(state, micros);
}
BENCHMARK(OscSendToPropertyLatency)->Iterations(2000)->Unit(benchmark::kMicrosecond);

// The same for a MIDI control change through JACK (period 32 frames at 48 kHz, 0.67 ms).
void MidiSendToPropertyLatency(benchmark::State& state) {
    qvn::test::PrivateJackServer jack(32);
    if (!jack.error().empty()) {
        state.SkipWithError(jack.error().c_str());
        return;
    }
    LoadedDriver midi("midi.so");
    RtMidiOut box(RtMidi::UNIX_JACK, "Bench Box");
    box.openVirtualPort("out");
    Property zoom("zoom", ControlKind::Finite);
    zoom.setDeadzone(0);
    std::vector<unsigned char> message{0xB0, 7, 0};
    waitUntil([&] {
        DeviceHandler::instance()->updateAll();
        return DeviceHandler::instance()->device("Bench Box:out", 0) != nullptr;
    });
    zoom.bind(control("Bench Box:out", "cc", 7));
    // JACK takes a new connection into its graph a cycle or two after it is made; until the
    // knob's value arrives, send it again.
    message[2] = 127;
    waitUntil([&] {
        box.sendMessage(&message);
        std::this_thread::sleep_for(milliseconds(5));
        DeviceHandler::instance()->updateAll();
        return zoom.value() == 1.0;
    });
    std::vector<double> micros;
    int step = 0;
    int resent = 0;
    for (auto _ : state) {
        message[2] = static_cast<unsigned char>(1 + ++step % 126);
        const double expected = message[2] / 127.0;
        auto sent = steady_clock::now();
        box.sendMessage(&message);
        for (;;) {
            DeviceHandler::instance()->updateAll();
            if (zoom.value() == expected)
                break;
            // A message that never arrives is counted, sent again and timed from then.
            if (steady_clock::now() - sent > milliseconds(100)) {
                ++resent;
                sent = steady_clock::now();
                box.sendMessage(&message);
            }
        }
        micros.push_back(duration<double, std::micro>(steady_clock::now() - sent).count());
    }
    state.counters["resent"] = resent;
    report(state, micros);
}
BENCHMARK(MidiSendToPropertyLatency)->Iterations(2000)->Unit(benchmark::kMicrosecond);

double cpuSeconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// 10,000 messages a second over 16 addresses, for two seconds, while the host polls at 60 Hz.
// Counts the addresses whose last value the poll does not read in the end ("lost"), and the
// processor time the listener took, as a share of one core (the sender's and the poll's own
// time taken out).
void OscSustainedStream(benchmark::State& state) {
    LoadedDriver osc("osc.so");
    const uint16_t port = freeUdpPort();
    osc.loader.applySettings({{"osc.enabled", "1"}, {"osc.port", std::to_string(port)},
                              {"osc.loopbackOnly", "1"}});
    const std::string device = "OSC :" + std::to_string(port);
    constexpr int Addresses = 16;
    constexpr int PerSecond = 10000;
    for (auto _ : state) {
        std::atomic<bool> done{false};
        std::atomic<double> senderCpu{0.0};
        std::vector<float> last(Addresses, 0.0f);
        const double processBefore = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        const double pollBefore = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        const auto start = steady_clock::now();
        std::thread sender([&] {
            const double own = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
            OscSender phone(port);
            for (int i = 0; i < 2 * PerSecond; ++i) {
                std::this_thread::sleep_until(start + microseconds(i * 1000000 / PerSecond));
                const int address = i % Addresses;
                last[address] = static_cast<float>(i % 997) / 997.0f;
                phone.fader(("/sensor/" + std::to_string(address)).c_str(), last[address]);
            }
            senderCpu = cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - own;
            done = true;
        });
        while (!done) {
            DeviceHandler::instance()->updateAll();
            std::this_thread::sleep_for(microseconds(16667));
        }
        sender.join();
        std::this_thread::sleep_for(milliseconds(20));
        DeviceHandler::instance()->updateAll();
        const double wall = duration<double>(steady_clock::now() - start).count();
        const double listener = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processBefore -
                                senderCpu - (cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - pollBefore);
        int lost = 0;
        for (int i = 0; i < Addresses; ++i) {
            Control* slot = control(device, "/sensor/" + std::to_string(i), 0);
            lost += slot == nullptr || slot->current() != last[static_cast<size_t>(i)];
        }
        state.counters["lost_latest"] = lost;
        state.counters["listener_core_pct"] = 100.0 * listener / wall;
        state.counters["messages_per_s"] = 2.0 * PerSecond / wall;
    }
}
BENCHMARK(OscSustainedStream)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
