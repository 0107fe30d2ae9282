// From a value leaving the sender to the bound property reading it in the host's poll: OSC over
// the loopback interface and MIDI through a private JACK server, with the driver libraries
// loaded the way the core loads them. Also the cost of a sustained OSC stream.
#include "GoalReport.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/DriverLoader.h"
#include "unidevice/JackMidiBox.h"
#include "unidevice/OscTestSupport.h"
#include "unidevice/PrivateJackServer.h"
#include "unidevice/Property.h"

#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <rtmidi/RtMidi.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>
#include <time.h>
#include <unistd.h>
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
    return DeviceHandler::instance()->findControl(qvn::test::controlBinding(device, type, index));
}

void report(benchmark::State& state, std::vector<double>& micros) {
    if (micros.empty())
        return;
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
    state.counters["max_us"] = micros.back();
}

// Polls the way a host that wants a value as soon as it is there would, without taking the
// processor from the threads that deliver it: on a machine with two cores a spinning poll delays
// the transport's own threads and becomes the latency it measures.
template <class Done> void pollUntil(Done&& done) {
    for (;;) {
        DeviceHandler::instance()->updateAll();
        if (done())
            return;
        std::this_thread::sleep_for(microseconds(20));
    }
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
        pollUntil([&] { return pan.value() == value; });
        micros.push_back(duration<double, std::micro>(steady_clock::now() - sent).count());
    }
    report(state, micros);
}
BENCHMARK(OscSendToPropertyLatency)->Iterations(2000)->Unit(benchmark::kMicrosecond);

// The same for a MIDI control change from a fader box's port: through a private JACK server
// (arguments: frames per period, sample rate, real-time scheduling) or through the ALSA
// sequencer's virtual ports (rate 0).
void MidiSendToPropertyLatency(benchmark::State& state) {
    const bool alsa = state.range(1) == 0;
    std::unique_ptr<qvn::test::PrivateJackServer> jack;
    if (alsa) {
        if (access("/dev/snd/seq", R_OK | W_OK) != 0) {
            state.SkipWithError("no ALSA sequencer (/dev/snd/seq) on this machine");
            return;
        }
    } else {
        // Asynchronous, as a server runs unless told otherwise.
        jack = std::make_unique<qvn::test::PrivateJackServer>(qvn::test::PrivateJackServer::Timing{
            static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
            state.range(2) != 0, false});
        if (!jack->error().empty()) {
            state.SkipWithError(jack->error().c_str());
            return;
        }
    }
    LoadedDriver midi("midi.so");
    // Through JACK the box is the tests' own client, which stops its process callback before it
    // frees what the callback reads; a generic JACK output freed its queue first and crashed
    // the server's thread when the run ended.
    std::unique_ptr<qvn::test::JackMidiBox> jackBox;
    std::unique_ptr<RtMidiOut> alsaBox;
    if (alsa) {
        alsaBox = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, "Bench Box");
        alsaBox->openVirtualPort("out");
    } else {
        jackBox = std::make_unique<qvn::test::JackMidiBox>("Bench Box");
        if (!jackBox->error().empty()) {
            state.SkipWithError(jackBox->error().c_str());
            return;
        }
    }
    const auto send = [&](std::vector<unsigned char>& bytes) {
        if (alsaBox != nullptr)
            alsaBox->sendMessage(&bytes);
        else
            jackBox->send(bytes);
    };
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
        send(message);
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
        send(message);
        pollUntil([&] {
            if (zoom.value() == expected)
                return true;
            // A message that never arrives is counted, sent again and timed from then.
            if (steady_clock::now() - sent > milliseconds(100)) {
                ++resent;
                sent = steady_clock::now();
                send(message);
            }
            return false;
        });
        micros.push_back(duration<double, std::micro>(steady_clock::now() - sent).count());
    }
    state.counters["resent"] = resent;
    report(state, micros);
}
// The period of JACK's cycle is the floor of this latency: a control change waits for the next
// cycle, so the median is about one period. 32 frames at 48 kHz (0.67 ms a cycle) as before; 16
// frames at 96 kHz (0.17 ms), without and with real-time scheduling (on a loaded machine a
// server without it misses cycles, which is what the 99th percentile shows); then the ALSA
// sequencer, which has no cycle.
BENCHMARK(MidiSendToPropertyLatency)
    ->ArgNames({"frames", "rate", "rt"})
    ->Args({32, 48000, 0})
    ->Args({16, 96000, 0})
    ->Args({16, 96000, 1})
    ->Args({0, 0, 0})
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);

// Processor time in seconds that the threads of this process called `name` have run so far, as
// the scheduler counts it (nanoseconds, not clock ticks).
double threadSeconds(const std::string& name) {
    double total = 0.0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string called;
        std::getline(comm, called);
        if (called != name)
            continue;
        std::ifstream schedstat(task.path() / "schedstat");
        double nanoseconds = 0.0;
        schedstat >> nanoseconds;
        total += nanoseconds * 1e-9;
    }
    return total;
}

// Processor time of the calling thread so far, in seconds.
double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

constexpr int StreamAddresses = 16;
constexpr int StreamPerSecond = 10000;
constexpr int StreamSeconds = 2;

// Sends 10,000 fader messages a second, evenly spaced, over 16 addresses to `port` for two
// seconds, calling `poll` at 60 Hz meanwhile as a host would. The value last sent to each
// address lands in `last`; the wall time of the whole stream comes back.
double sendStream(uint16_t port, std::vector<float>& last, const std::function<void()>& poll) {
    last.assign(StreamAddresses, 0.0f);
    std::atomic<bool> done{false};
    const auto start = steady_clock::now();
    std::thread sender([&] {
        OscSender phone(port);
        for (int i = 0; i < StreamSeconds * StreamPerSecond; ++i) {
            std::this_thread::sleep_until(start + microseconds(i * 1000000 / StreamPerSecond));
            const int address = i % StreamAddresses;
            last[address] = static_cast<float>(i % 997) / 997.0f;
            phone.fader(("/sensor/" + std::to_string(address)).c_str(), last[address]);
        }
        done = true;
    });
    while (!done) {
        poll();
        std::this_thread::sleep_for(microseconds(16667));
    }
    sender.join();
    return duration<double>(steady_clock::now() - start).count();
}

// The stream above into the OSC driver. Counts the addresses whose last value the poll does
// not read in the end ("lost"), and the processor time of the driver's listening thread as a
// share of one core.
void OscSustainedStream(benchmark::State& state) {
    LoadedDriver osc("osc.so");
    const uint16_t port = freeUdpPort();
    osc.loader.applySettings({{"osc.enabled", "1"}, {"osc.port", std::to_string(port)},
                              {"osc.loopbackOnly", "1"}});
    const std::string device = "OSC :" + std::to_string(port);
    for (auto _ : state) {
        std::vector<float> last;
        const double listenerBefore = threadSeconds("osc listener");
        double wall = sendStream(port, last, [] { DeviceHandler::instance()->updateAll(); });
        const auto drained = steady_clock::now();
        std::this_thread::sleep_for(milliseconds(20));
        DeviceHandler::instance()->updateAll();
        wall += duration<double>(steady_clock::now() - drained).count();
        const double listener = threadSeconds("osc listener") - listenerBefore;
        int lost = 0;
        for (int i = 0; i < StreamAddresses; ++i) {
            Control* slot = control(device, "/sensor/" + std::to_string(i), 0);
            lost += slot == nullptr || slot->current() != last[static_cast<size_t>(i)];
        }
        state.counters["lost_latest"] = lost;
        state.counters["listener_core_pct"] = 100.0 * listener / wall;
        state.counters["messages_per_s"] = StreamSeconds * StreamPerSecond / wall;
    }
}
BENCHMARK(OscSustainedStream)->Iterations(1)->Unit(benchmark::kMillisecond);

// The same stream into a thread that only takes the datagrams off a socket, the way the
// listener does, and decodes nothing: what the kernel's wake-up and receive cost on this
// machine, the floor under the listener's figure.
void BareReceiveFloor(benchmark::State& state) {
    const uint16_t port = freeUdpPort();
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        state.SkipWithError("the port was taken");
        return;
    }
    std::atomic<double> seconds{0.0};
    std::atomic<bool> stopping{false};
    std::thread reader([&] {
        constexpr unsigned int Batch = 16;
        std::vector<unsigned char> buffer(Batch * 2048);
        iovec pieces[Batch];
        mmsghdr headers[Batch];
        for (unsigned int i = 0; i < Batch; ++i) {
            pieces[i] = iovec{buffer.data() + i * 2048, 2048};
            headers[i] = mmsghdr{};
            headers[i].msg_hdr.msg_iov = &pieces[i];
            headers[i].msg_hdr.msg_iovlen = 1;
        }
        const double before = threadCpuSeconds();
        // Once the socket is shut down every read returns at once (as an empty datagram).
        while (!stopping.load() && recvmmsg(fd, headers, Batch, MSG_WAITFORONE, nullptr) >= 0) {
        }
        seconds = threadCpuSeconds() - before;
    });
    for (auto _ : state) {
        std::vector<float> last;
        const double wall = sendStream(port, last, [] {});
        stopping = true;
        shutdown(fd, SHUT_RDWR);
        reader.join();
        state.counters["reader_core_pct"] = 100.0 * seconds / wall;
    }
    close(fd);
}
BENCHMARK(BareReceiveFloor)->Iterations(1)->Unit(benchmark::kMillisecond);

double counter(const benchmark::BenchmarkReporter::Run& run, const char* name) {
    const auto found = run.counters.find(name);
    return found != run.counters.end() ? found->second.value : -1.0;
}

} // namespace

int main(int argc, char** argv) {
    using qvn::bench::Goal;
    auto figure = [](const char* name) {
        return [name](const benchmark::BenchmarkReporter::Run& run) { return counter(run, name); };
    };
    const std::string jack = "MidiSendToPropertyLatency/frames:16/rate:96000/rt:1";
    return qvn::bench::runWithGoals(
        argc, argv,
        {Goal{"OscSendToPropertyLatency", "OSC send to property, median", "us", figure("median_us"),
              1000, false},
         Goal{"OscSendToPropertyLatency", "OSC send to property, 99th percentile", "us",
              figure("p99_us"), 1000, false},
         Goal{jack, "MIDI CC through JACK to property, median", "us", figure("median_us"), 1000,
              false},
         Goal{jack, "MIDI CC through JACK to property, 99th percentile", "us", figure("p99_us"),
              1000, false},
         Goal{"OscSustainedStream", "OSC listener at 10,000 messages/s", "% of a core",
              figure("listener_core_pct"), 5, false},
         Goal{"OscSustainedStream", "OSC latest values lost at 10,000 messages/s", "",
              figure("lost_latest"), 1, false},
         Goal{"BareReceiveFloor", "a bare receiving loop at 10,000 datagrams/s (the kernel's share)",
              "% of a core", figure("reader_core_pct"), 5, false, true}});
}
