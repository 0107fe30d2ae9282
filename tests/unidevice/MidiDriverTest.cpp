// The MIDI driver library, loaded the way the core loads it, fed through a private JACK server
// on the dummy back end (and the ALSA sequencer's virtual ports where the kernel has one).
#include "../../examples/drivers/midi/JackMidiInputs.h"
#include "../../examples/drivers/midi/MidiDecoder.h"
#include "FakeInput.h"
#include "JackMidiBox.h"
#include "OscTestSupport.h"
#include "PrivateJackServer.h"
#include "unidevice/Property.h"

#include <rtmidi/RtMidi.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <set>
#include <thread>
#include <tuple>

namespace qvn::test {
namespace {

using mvk::examples::JackMidiInputs;
using mvk::examples::MidiDecoder;
using mvk::examples::MidiValue;
using mvk::util::xml::Element;

TEST(MidiDecoder, RunningStatusSysExAndRealTimeBytesLeaveOnlyTheControlMessages) {
    std::vector<std::tuple<std::string, int32_t, double>> seen;
    MidiDecoder decoder;
    auto feed = [&](std::vector<unsigned char> bytes) {
        decoder.feed(bytes.data(), bytes.size(), [&](const MidiValue& value) {
            seen.emplace_back(MidiDecoder::describe(value.type, MidiDecoder::indexOf(value)),
                              MidiDecoder::indexOf(value), value.value);
        });
    };
    feed({0xB0, 7, 127, 8, 0});          // running status inside one message
    feed({10, 64});                      // ...and carried into the next
    feed({0x9F, 60, 0xF8, 127});         // a clock tick inside a note on, channel 16
    feed({0xF0, 0x7E, 0x01, 0xB0});      // system exclusive, a status byte in its tail ends it
    feed({3, 4});
    feed({0xF0, 0x01, 0x02});            // another, split over two messages
    feed({0x03, 0x04, 0xF7, 0x05});      // its end, then a data byte with no running status
    feed({0x8F, 60, 30, 0xE1, 0x7F, 0x7F, 0xE1, 0x00, 0x00, 0xE1, 0x00, 0x40});
    feed({0xC0, 5, 0xD0, 9, 0xF2, 1, 2, 3});  // program change, pressure, song position
    using Seen = std::tuple<std::string, int32_t, double>;
    EXPECT_EQ(seen, (std::vector<Seen>{{"CC 7 ch 1", 7, 1.0},
                                       {"CC 8 ch 1", 8, 0.0},
                                       {"CC 10 ch 1", 10, 64 / 127.0},
                                       {"Note 60 ch 16", 15 * 128 + 60, 1.0},
                                       {"CC 3 ch 1", 3, 4 / 127.0},
                                       {"Note 60 ch 16", 15 * 128 + 60, 0.0},
                                       {"Pitch bend ch 2", 1, 1.0},
                                       {"Pitch bend ch 2", 1, -1.0},
                                       {"Pitch bend ch 2", 1, 0.0}}));
}

// libjack has one error writer and one info writer per process, which the host may have set.
// Probes for a server that does not run say nothing through them, however many overlap, and
// leave them as they were, or as the host set them meanwhile.
TEST(JackMessages, OverlappingProbesForAMissingServerKeepTheHostsWriters) {
    static std::atomic<int> messages{0};
    auto hostWriter = [](const char*) { ++messages; };
    auto laterWriter = [](const char*) { ++messages; };
    setenv("JACK_DEFAULT_SERVER", ("quorvane-test-nobody-" + std::to_string(getpid())).c_str(), 1);
    jack_set_error_function(hostWriter);
    jack_set_info_function(hostWriter);
    auto probeFromThreads = [](const std::function<void()>& meanwhile) {
        std::atomic<int> joined{0};
        std::vector<std::thread> probes;
        for (int t = 0; t < 4; ++t)
            probes.emplace_back([&] {
                for (int i = 0; i < 40; ++i)
                    joined += JackMidiInputs::join("Quorvane test probe") != nullptr;
            });
        meanwhile();
        for (std::thread& probe : probes)
            probe.join();
        return joined.load();
    };

    EXPECT_EQ(probeFromThreads([] {}), 0);
    EXPECT_EQ(messages, 0);
    EXPECT_EQ(jack_error_callback, +hostWriter);
    EXPECT_EQ(jack_info_callback, +hostWriter);
    // The probes had something to say: the same probe without the driver's guard says it.
    jack_status_t status{};
    EXPECT_EQ(jack_client_open("Quorvane test probe", JackNoStartServer, &status), nullptr);
    EXPECT_GT(messages, 0);

    // Writers the host installs while probes run stay installed.
    EXPECT_EQ(probeFromThreads([&] {
                  std::this_thread::sleep_for(std::chrono::milliseconds(5));
                  jack_set_error_function(laterWriter);
                  jack_set_info_function(laterWriter);
              }),
              0);
    EXPECT_EQ(jack_error_callback, +laterWriter);
    EXPECT_EQ(jack_info_callback, +laterWriter);
    jack_set_error_function(nullptr);
    jack_set_info_function(nullptr);
    unsetenv("JACK_DEFAULT_SERVER");
}

class MidiDriverTest : public DriverTest {
protected:
    void TearDown() override {
        unplug();
        DriverTest::TearDown();
    }
    void load() {
        ASSERT_EQ(loader.loadLibrary(std::string(QVN_DRIVER_DIR) + "/midi.so", DriverContext()),
                  DriverLoader::Loaded);
    }
    // A fader box: an output port of the given client, as a hardware port would appear.
    void plug(RtMidi::Api api, const std::string& client) {
        if (api == RtMidi::UNIX_JACK) {
            jackBox = std::make_unique<JackMidiBox>(client);
            ASSERT_EQ(jackBox->error(), "");
            return;
        }
        alsaBox = std::make_unique<RtMidiOut>(api, client);
        alsaBox->openVirtualPort("out");
    }
    void unplug() {
        jackBox.reset();
        alsaBox.reset();
    }
    void send(std::vector<unsigned char> bytes) {
        if (jackBox != nullptr)
            jackBox->send(bytes);
        else
            alsaBox->sendMessage(&bytes);
    }
    // Waits, polling like the host, until the driver says the port of `device` is there. From
    // then on what the box sends arrives: the driver says so only once its connection carries
    // data, so nothing sent right after it may be lost.
    bool plugged(const std::string& device) {
        return polled([&] {
            return handler()->device(device, 0) != nullptr &&
                   handler()->device(device, 0)->prepareDetection(0);
        });
    }
    // Polls like the host until `done` holds. The driver looks for ports five times a second;
    // the deadline is for a machine so loaded that a non-real-time JACK server runs late.
    bool polled(const std::function<bool()>& done) {
        return waitUntil(
            [&] {
                handler()->updateAll();
                return done();
            },
            std::chrono::milliseconds(10000));
    }
    // The devices as the host sees them, for a failure's message.
    std::string devicesNow() {
        std::string all;
        for (int32_t i = 0; i < handler()->deviceCount(); ++i) {
            Device* device = handler()->device(i);
            all += " \"" + device->name() + (device->prepareDetection(0) ? "\"" : "\" (away)");
        }
        return all;
    }
    Control* find(const std::string& device, const char* type, int index) {
        return handler()->findControl(controlBinding(device, type, index));
    }
    // Sends until the control reads `value`. On a loaded machine the non-real-time JACK server
    // misses cycles and may drop what was queued for them; a value sent again is the same value.
    bool deliver(std::vector<unsigned char> bytes, const std::string& device, const char* type,
                 int index, double value) {
        return deliverBy([&] { send(bytes); }, device, type, index, value);
    }
    bool deliverBy(const std::function<void()>& sendIt, const std::string& device,
                   const char* type, int index, double value) {
        auto last = std::chrono::steady_clock::now() - std::chrono::seconds(1);
        return waitUntil([&] {
            if (std::chrono::steady_clock::now() - last > std::chrono::milliseconds(200)) {
                sendIt();
                last = std::chrono::steady_clock::now();
            }
            handler()->updateAll();
            Control* control = find(device, type, index);
            return control != nullptr && control->current() == value;
        }, std::chrono::milliseconds(10000));
    }

    std::unique_ptr<JackMidiBox> jackBox;
    std::unique_ptr<RtMidiOut> alsaBox;
};

class MidiThroughJack : public MidiDriverTest {
protected:
    void SetUp() override {
        MidiDriverTest::SetUp();
        if (!jack.error().empty())
            GTEST_SKIP() << "no private JACK server: " << jack.error();
    }
    PrivateJackServer jack;
};

// A fader box's life through JACK: its port becomes a device whose messages become controls as
// they are used, a knob is bound by turning it, the box is pulled out and plugged back, and the
// stored binding finds the knob again after a restart.
TEST_F(MidiThroughJack, ABoxsControlsAppearBindByMovingSurviveUnpluggingAndRebindAfterARestart) {
    load();
    plug(RtMidi::UNIX_JACK, "Box");
    ASSERT_TRUE(plugged("Box:out"));
    Device* const box = handler()->device("Box:out", 0);
    EXPECT_EQ(box->controlCount(), 0);
    ASSERT_TRUE(deliver({0xB0, 7, 127}, "Box:out", "cc", 7, 1.0));
    ASSERT_TRUE(deliver({0x99, 36, 64}, "Box:out", "note", 9 * 128 + 36, 64 / 127.0));
    ASSERT_TRUE(deliver({0xE1, 0x7F, 0x7F}, "Box:out", "pitchbend", 1, 1.0));
    send({0xF0, 0x7D, 0x10, 0x20, 0x30, 0xF7});
    // Running status inside one event.
    ASSERT_TRUE(deliver({0xB2, 1, 0, 2, 127}, "Box:out", "cc", 2 * 128 + 2, 1.0));
    const std::tuple<const char*, int, const char*, uint32_t, double> expected[] = {
        {"cc", 7, "CC 7 ch 1", ControlKind::Finite, 1.0},
        {"note", 9 * 128 + 36, "Note 36 ch 10", ControlKind::Binary, 64 / 127.0},
        {"pitchbend", 1, "Pitch bend ch 2", ControlKind::Finite, 1.0},
        {"cc", 2 * 128 + 1, "CC 1 ch 3", ControlKind::Finite, 0.0},
        {"cc", 2 * 128 + 2, "CC 2 ch 3", ControlKind::Finite, 1.0}};
    ASSERT_EQ(box->controlCount(), 5);
    for (const auto& [type, index, description, kind, value] : expected) {
        Control* control = find("Box:out", type, index);
        ASSERT_NE(control, nullptr) << description;
        EXPECT_EQ(control->description(), description);
        EXPECT_EQ(control->kind(), kind) << description;
        EXPECT_EQ(control->current(), value) << description;
    }
    ASSERT_TRUE(deliver({0x89, 36, 0}, "Box:out", "note", 9 * 128 + 36, 0.0));

    // Detection: a nudge of a known knob is no movement, a knob never used before that is
    // turned is the one.
    ASSERT_TRUE(deliver({0xB0, 21, 10}, "Box:out", "cc", 21, 10 / 127.0));
    ASSERT_TRUE(handler()->prepareDetectionAll());
    Control* detected = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        send({0xB0, 21, 12});
        send({0xB0, 74, 90});
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return (detected = handler()->detectControl()) != nullptr;
    }, std::chrono::milliseconds(10000)));
    EXPECT_EQ(detected->description(), "CC 74 ch 1");
    Property zoom("zoom", ControlKind::Finite);
    zoom.setDeadzone(0);
    zoom.bind(detected);
    zoom.setBinding(detected->toXML());
    const int32_t devices = handler()->deviceCount();

    // Unplugged: dropped, the device stays with its controls at rest.
    unplug();
    ASSERT_TRUE(polled([&] { return !box->prepareDetection(0); }));
    EXPECT_EQ(zoom.value(), 0.0);
    EXPECT_EQ(zoom.control(), detected);
    EXPECT_EQ(handler()->deviceCount(), devices);
    // Plugged back: the port takes its device over, the binding reads again.
    plug(RtMidi::UNIX_JACK, "Box");
    ASSERT_TRUE(plugged("Box:out"));
    ASSERT_TRUE(deliver({0xB0, 74, 127}, "Box:out", "cc", 74, 1.0));
    EXPECT_EQ(zoom.value(), 1.0);
    EXPECT_EQ(handler()->device("Box:out", 0), box);
    EXPECT_EQ(handler()->deviceCount(), devices);

    // A restart: the stored binding finds the knob before it is turned again.
    const Element stored(zoom.binding().toString("", "", ""));
    dropHandler();
    loader.freeAll();
    load();
    ASSERT_TRUE(plugged("Box:out"));
    zoom.bind(handler()->findControl(stored));
    ASSERT_NE(zoom.control(), nullptr);
    ASSERT_TRUE(deliver({0xB0, 74, 64}, "Box:out", "cc", 74, 64 / 127.0));
    EXPECT_EQ(zoom.value(), 64 / 127.0);
}

// Boxes plugged and pulled in quick succession beside one that stays, so that the server's list
// of ports changes while the driver opens what it listed a moment before. Every device is named
// after a port and reads that port alone: each box sends only a controller of its own, so a
// device that learns another box's controller was opened on the wrong port.
TEST_F(MidiThroughJack, PortsComingAndGoingQuicklyAreEachReadUnderTheirOwnName) {
    load();
    plug(RtMidi::UNIX_JACK, "Steady");
    ASSERT_TRUE(plugged("Steady:out"));
    constexpr int Churners = 4;
    auto controllerOf = [](const std::string& device) {
        return device == "Steady:out" ? 1 : 10 + (device[6] - '0');
    };
    std::atomic<bool> done{false};
    std::thread churn([&] {
        std::unique_ptr<JackMidiBox> boxes[Churners];
        for (int round = 0; round < 60; ++round) {
            // Out of step, so that ports go from before and after the ones that come.
            const int k = (round * 3) % Churners;
            if (boxes[k] == nullptr)
                boxes[k] = std::make_unique<JackMidiBox>("Churn " + std::to_string(k));
            else
                boxes[k].reset();
            for (int i = 0; i < Churners; ++i)
                if (boxes[i] != nullptr)
                    boxes[i]->send({0xB0, static_cast<unsigned char>(10 + i), 64});
            std::this_thread::sleep_for(std::chrono::milliseconds(round % 7 * 5));
        }
        done = true;
    });
    std::set<std::string> foreign;
    auto check = [&] {
        for (int32_t i = 0; i < handler()->deviceCount(); ++i) {
            Device* device = handler()->device(i);
            if (device->name().empty())
                foreign.insert("a device without a name");
            for (int32_t c = 0; c < device->controlCount(); ++c)
                if (device->control(c)->description() !=
                    "CC " + std::to_string(controllerOf(device->name())) + " ch 1")
                    foreign.insert(device->name() + " reads " +
                                   device->control(c)->description());
        }
    };
    while (!done) {
        send({0xB0, 1, 64});
        handler()->updateAll();
        check();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    churn.join();
    ASSERT_TRUE(deliver({0xB0, 1, 127}, "Steady:out", "cc", 1, 1.0));
    // A box pulled out and plugged straight back, quicker than the driver looks for ports: its
    // name is listed at both looks, yet it is a new port that has to be connected anew.
    auto again = std::make_unique<JackMidiBox>("Churn 1");
    ASSERT_TRUE(deliverBy([&] { again->send({0xB0, 11, 100}); }, "Churn 1:out", "cc", 11,
                          100 / 127.0))
        << devicesNow();
    again.reset();
    again = std::make_unique<JackMidiBox>("Churn 1");
    ASSERT_TRUE(deliverBy([&] { again->send({0xB0, 11, 20}); }, "Churn 1:out", "cc", 11,
                          20 / 127.0))
        << devicesNow();
    // Plugged back once the driver has seen it go, the box is read from the moment it shows as
    // plugged: one message is enough.
    again.reset();
    ASSERT_TRUE(polled([&] { return !handler()->device("Churn 1:out", 0)->prepareDetection(0); }));
    again = std::make_unique<JackMidiBox>("Churn 1");
    ASSERT_TRUE(plugged("Churn 1:out"));
    again->send({0xB0, 11, 127});
    ASSERT_TRUE(polled([&] {
        Control* control = find("Churn 1:out", "cc", 11);
        return control != nullptr && control->current() == 1.0;
    }));
    check();
    EXPECT_TRUE(foreign.empty()) << *foreign.begin();
    EXPECT_LE(handler()->deviceCount(), Churners + 1);
}

TEST_F(MidiDriverTest, AlsaSequencerVirtualPortsWhereTheKernelOffersThem) {
    struct stat info {};
    if (stat("/dev/snd/seq", &info) != 0)
        GTEST_SKIP() << "no ALSA sequencer (/dev/snd/seq) on this machine; the JACK tests cover "
                        "the driver";
    load();
    plug(RtMidi::LINUX_ALSA, "Quorvane Test Box");
    ASSERT_TRUE(plugged("Quorvane Test Box:out"));
    EXPECT_TRUE(deliver({0xB0, 7, 127}, "Quorvane Test Box:out", "cc", 7, 1.0));
}

} // namespace
} // namespace qvn::test
