// The OSC driver library, loaded the way the core loads it, fed by liblo's sender over the
// loopback interface.
#include "FakeInput.h"
#include "OscTestSupport.h"
#include "unidevice/Property.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

namespace qvn::test {
namespace {

using mvk::util::xml::Element;

std::vector<std::string>& logged() {
    static std::vector<std::string> lines;
    return lines;
}

class OscDriverTest : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        logged().clear();
        port = freeUdpPort();
        load();
    }
    void load() {
        DriverContext context;
        context.log = [](const char* line) { logged().push_back(line); };
        ASSERT_EQ(loader.loadLibrary(std::string(QVN_DRIVER_DIR) + "/osc.so", context),
                  DriverLoader::Loaded);
    }
    void listen(bool enabled, uint16_t on, bool loopbackOnly = true) {
        loader.applySettings({{"osc.enabled", enabled ? "1" : "0"},
                              {"osc.port", std::to_string(on)},
                              {"osc.loopbackOnly", loopbackOnly ? "1" : "0"}});
    }
    std::string deviceName() const { return "OSC :" + std::to_string(port); }
    Device* device() const { return handler()->device(deviceName(), 0); }
    Control* find(const std::string& address, int argument = 0) {
        return handler()->findControl(controlBinding(deviceName(), address, argument));
    }
    // The control input has made for the address so far, without making one from a binding.
    Control* learned(const std::string& address, int argument = 0) const {
        for (int32_t i = 0; i < device()->controlCount(); ++i) {
            Control* control = device()->control(i);
            if (control->type() == address && control->index() == argument)
                return control;
        }
        return nullptr;
    }
    // Polls like the host until the control exists and reads `value`.
    bool arrives(const std::string& address, int argument, double value) {
        return waitUntil([&] {
            handler()->updateAll();
            Control* control = device()->controlCount() > 0 ? find(address, argument) : nullptr;
            return control != nullptr && control->current() == value;
        });
    }

    uint16_t port = 0;
};

TEST_F(OscDriverTest, ArrivingAddressesBecomeControlsOfTheKindTheirArgumentsShow) {
    listen(true, port);
    ASSERT_NE(device(), nullptr);
    EXPECT_EQ(device()->controlCount(), 0);
    OscSender phone(port);
    const float inf = std::numeric_limits<float>::infinity();
    lo_send(phone.address(), "/accxyz", "fff", 0.25f, -3.0f, 0.5f);
    lo_send(phone.address(), "/1/push2", "f", 1.0f);
    lo_send(phone.address(), "/rec", "i", 1);
    lo_send(phone.address(), "/level", "i", 5);
    lo_send(phone.address(), "/label", "sfT", "take 3", -0.5f);
    lo_send(phone.address(), "/gyro", "ff", std::nanf(""), inf);
    lo_send(phone.address(), "/mixed", "fd", inf, -0.75);
    lo_send(phone.address(), "/wide", "hFd", int64_t{1}, -2.0);
    lo_send(phone.address(), "/1/fader1", "f", 0.75f);
    ASSERT_TRUE(arrives("/1/fader1", 0, 0.75));
    const std::tuple<const char*, int, uint32_t, double> expected[] = {
        {"/accxyz", 0, ControlKind::Finite, 0.25},  {"/accxyz", 1, ControlKind::Finite, -1.0},
        {"/accxyz", 2, ControlKind::Finite, 0.5},   {"/1/push2", 0, ControlKind::Binary, 1.0},
        {"/rec", 0, ControlKind::Binary, 1.0},      {"/level", 0, ControlKind::Finite, 1.0},
        {"/label", 1, ControlKind::Finite, -0.5},   {"/label", 2, ControlKind::Binary, 1.0},
        {"/mixed", 1, ControlKind::Finite, -0.75},  {"/wide", 0, ControlKind::Binary, 1.0},
        {"/wide", 1, ControlKind::Binary, 0.0},     {"/wide", 2, ControlKind::Finite, -1.0},
        {"/1/fader1", 0, ControlKind::Finite, 0.75}};
    for (const auto& [address, argument, kind, value] : expected) {
        Control* control = find(address, argument);
        ASSERT_NE(control, nullptr) << address << argument;
        EXPECT_EQ(control->kind(), kind) << address << argument;
        EXPECT_EQ(control->current(), value) << address << argument;
    }
    // Strings and values that are no numbers name nothing.
    EXPECT_EQ(device()->controlCount(), 13);
    EXPECT_EQ(learned("/gyro", 0), nullptr);
    EXPECT_EQ(learned("/label", 0), nullptr);
    EXPECT_EQ(learned("/mixed", 0), nullptr);
    // A binding is the device, the address and the argument's place.
    const Element written = find("/accxyz", 2)->toXML();
    EXPECT_EQ(written.attribute("device"), deviceName());
    EXPECT_EQ(written.attribute("type"), "/accxyz");
    EXPECT_EQ(written.attribute("index"), "2");
    EXPECT_EQ(written.child("description", 0).text(), deviceName() + ": /accxyz [2]");
    // A NaN later on leaves the last good value in place; a button released reads 0.
    lo_send(phone.address(), "/1/fader1", "f", std::nanf(""));
    lo_send(phone.address(), "/1/push2", "f", 0.0f);
    ASSERT_TRUE(arrives("/1/push2", 0, 0.0));
    EXPECT_EQ(find("/1/fader1")->current(), 0.75);
}

TEST_F(OscDriverTest, BundlesApplyInOrderAndAnOlderTimeTagNeverOverwritesANewerValue) {
    listen(true, port);
    OscSender phone(port);
    auto bundle = [&](lo_timetag tag, std::initializer_list<std::pair<const char*, float>> values,
                      lo_bundle inner = nullptr) {
        lo_bundle made = lo_bundle_new(tag);
        for (const auto& [path, value] : values) {
            lo_message message = lo_message_new();
            lo_message_add_float(message, value);
            lo_bundle_add_message(made, path, message);
        }
        if (inner != nullptr)
            lo_bundle_add_bundle(made, inner);
        lo_send_bundle(phone.address(), made);
        lo_bundle_free_recursive(made);
    };
    lo_timetag now;
    lo_timetag_now(&now);
    lo_timetag later = now;
    later.sec += 1;
    // Within a bundle, and into a nested one, the last write wins.
    lo_bundle nested = lo_bundle_new(now);
    lo_message deep = lo_message_new();
    lo_message_add_float(deep, -0.5f);
    lo_bundle_add_message(nested, "/xy", deep);
    bundle(now, {{"/xy", 0.1f}, {"/xy", 0.9f}}, nested);
    ASSERT_TRUE(arrives("/xy", 0, -0.5));
    // A bundle that arrives late, stamped before the one already applied, is dropped...
    bundle(later, {{"/fader", 0.7f}});
    ASSERT_TRUE(arrives("/fader", 0, 0.7f));
    bundle(now, {{"/fader", 0.2f}, {"/other", 0.3f}});
    ASSERT_TRUE(arrives("/other", 0, 0.3f));
    EXPECT_EQ(find("/fader")->current(), 0.7f);
    // ...while a plain message, meant for now, always lands.
    phone.fader("/fader", 0.4f);
    EXPECT_TRUE(arrives("/fader", 0, 0.4f));
}

TEST_F(OscDriverTest, MalformedFloodedAndEndlessInputLeavesTheListenerAnswering) {
    listen(true, port);
    OscSender phone(port);
    // Packets no sender should make: garbage, a type tag promising more than is there, a
    // bundle whose element runs past the end, and bundles nested beyond any use.
    const unsigned char garbage[] = {0xff, 0x00, 0x13, 0x37, '/', 'x'};
    phone.raw(garbage, sizeof garbage);
    const char truncated[] = "/t\0\0,fff\0\0\0\0\x3f\x80\0\0";
    phone.raw(truncated, sizeof truncated - 1);
    // Header, time tag 1, an element said to hold 4096 bytes, then a 12-byte message.
    std::string lying("#bundle\0\0\0\0\0\0\0\0\1\0\0\x10\0/a\0\0,f\0\0", 28);
    lying.append("\x3f\x80\0\0", 4);
    phone.raw(lying.data(), lying.size());
    std::string deep = std::string("/deep\0\0\0,f\0\0\x3f\x80\0\0", 16);
    for (int level = 0; level < 40; ++level) {
        const uint32_t length = htonl(static_cast<uint32_t>(deep.size()));
        deep = std::string("#bundle\0\0\0\0\0\0\0\0\1", 16) +
               std::string(reinterpret_cast<const char*>(&length), 4) + deep;
    }
    phone.raw(deep.data(), deep.size());
    phone.fader("/alive", 0.5f);
    ASSERT_TRUE(arrives("/alive", 0, 0.5));
    EXPECT_EQ(learned("/t"), nullptr);
    EXPECT_EQ(learned("/a"), nullptr);
    EXPECT_EQ(learned("/deep"), nullptr);

    // Thousands of distinct addresses: the device learns up to its cap, says so once in the
    // log, and the controls it has go on working.
    for (int i = 0; i < 3000; ++i)
        phone.fader(("/spam/" + std::to_string(i)).c_str(), 0.25f);
    phone.fader("/alive", -0.5f);
    ASSERT_TRUE(arrives("/alive", 0, -0.5));
    handler()->updateAll();
    EXPECT_EQ(device()->controlCount(), 1024);
    EXPECT_EQ(std::count_if(logged().begin(), logged().end(),
                            [](const std::string& line) {
                                return line.find("further addresses are ignored") !=
                                       std::string::npos;
                            }),
              1);

    // A flood from one sender: the latest value is what the poll reads.
    for (int i = 1; i <= 20000; ++i)
        phone.fader("/alive", static_cast<float>(i) / 20000.0f);
    EXPECT_TRUE(arrives("/alive", 0, 1.0));
}

TEST_F(OscDriverTest, MovingAFaderBindsItAndASavedBindingRebindsAfterARestart) {
    // Nothing listens until the settings say so.
    EXPECT_EQ(device(), nullptr);
    EXPECT_NE(handler()->driver("osc"), nullptr);
    listen(true, port);
    OscSender phone(port);
    // The gyroscope streams before and during detection, without moving much.
    phone.fader("/gyro", 0.30f);
    ASSERT_TRUE(arrives("/gyro", 0, 0.30f));
    ASSERT_TRUE(handler()->prepareDetectionAll());
    phone.fader("/gyro", 0.35f);
    ASSERT_TRUE(arrives("/gyro", 0, 0.35f));
    EXPECT_EQ(handler()->detectControl(), nullptr);
    // A fader never sent before appears as the user moves it, and is what detection finds.
    Control* detected = nullptr;
    for (float value : {0.1f, 0.2f, 0.3f, 0.4f, 0.5f})
        phone.fader("/2/fader3", value);
    ASSERT_TRUE(waitUntil([&] { return (detected = handler()->detectControl()) != nullptr; }));
    EXPECT_EQ(detected->type(), "/2/fader3");
    Property tilt("tilt", ControlKind::Finite);
    tilt.setDeadzone(0);
    tilt.bind(detected);
    tilt.setBinding(detected->toXML());
    const Element stored = Element(tilt.binding().toString("", "", ""));

    // A restart: the driver comes back without any control; the stored binding finds the
    // fader before the phone sends it, and the value follows as soon as it does.
    dropHandler();
    loader.freeAll();
    EXPECT_EQ(tilt.control(), nullptr);
    load();
    listen(true, port);
    ASSERT_EQ(device()->controlCount(), 0);
    tilt.bind(handler()->findControl(stored));
    ASSERT_NE(tilt.control(), nullptr);
    EXPECT_EQ(tilt.value(), 0.0);
    // Only a binding naming this device adds to it, and only with an address and argument.
    Element anyDevice = stored;
    anyDevice.attribute("device") = "";
    EXPECT_EQ(handler()->findControl(anyDevice), tilt.control());
    anyDevice.attribute("type") = "/never/sent";
    EXPECT_EQ(handler()->findControl(anyDevice), nullptr);
    Element noAddress = stored;
    noAddress.attribute("type") = "fader";
    EXPECT_EQ(handler()->findControl(noAddress), nullptr);
    phone.fader("/2/fader3", 0.625f);
    ASSERT_TRUE(arrives("/2/fader3", 0, 0.625));
    EXPECT_EQ(tilt.value(), 0.625);
}

} // namespace
} // namespace qvn::test
