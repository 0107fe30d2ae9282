// The MIDI driver library, loaded the way the core loads it, fed through a private JACK server
// on the dummy back end (and the ALSA sequencer's virtual ports where the kernel has one).
#include "../../examples/drivers/midi/MidiDecoder.h"
#include "FakeInput.h"
#include "JackMidiBox.h"
#include "OscTestSupport.h"
#include "PrivateJackServer.h"
#include "unidevice/DriverLoader.h"
#include "unidevice/Property.h"

#include <rtmidi/RtMidi.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace qvn::test {
namespace {

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

class MidiDriverTest : public InputTest {
protected:
    void TearDown() override {
        unplug();
        InputTest::TearDown();
        loader.freeAll();
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
    // Waits, polling like the host, until the driver has the port of `device` open. JACK makes
    // a new connection part of its processing graph a cycle or two after it was asked for;
    // what is sent before that is not delivered, so the sender gives it a moment.
    bool plugged(const std::string& device) {
        const bool found =
            within1s([&] { return handler()->device(device, 0) != nullptr &&
                                  handler()->device(device, 0)->prepareDetection(0); });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return found;
    }
    // Polls like the host until `done` holds, for at most a second.
    bool within1s(const std::function<bool()>& done) {
        return waitUntil(
            [&] {
                handler()->updateAll();
                return done();
            },
            std::chrono::milliseconds(1000));
    }
    Control* find(const std::string& device, const char* type, int index) {
        return handler()->findControl(controlBinding(device, type, index));
    }
    // Sends until the control reads `value`. On a loaded machine the non-real-time JACK server
    // misses cycles and may drop what was queued for them; a value sent again is the same value.
    bool deliver(std::vector<unsigned char> bytes, const std::string& device, const char* type,
                 int index, double value) {
        auto last = std::chrono::steady_clock::now() - std::chrono::seconds(1);
        return waitUntil([&] {
            if (std::chrono::steady_clock::now() - last > std::chrono::milliseconds(200)) {
                send(bytes);
                last = std::chrono::steady_clock::now();
            }
            handler()->updateAll();
            Control* control = find(device, type, index);
            return control != nullptr && control->current() == value;
        });
    }

    DriverLoader loader;
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
    }));
    EXPECT_EQ(detected->description(), "CC 74 ch 1");
    Property zoom("zoom", ControlKind::Finite);
    zoom.setDeadzone(0);
    zoom.bind(detected);
    zoom.setBinding(detected->toXML());
    const int32_t devices = handler()->deviceCount();

    // Unplugged: dropped within a second, the device stays with its controls at rest.
    unplug();
    ASSERT_TRUE(within1s([&] { return !box->prepareDetection(0); }));
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
