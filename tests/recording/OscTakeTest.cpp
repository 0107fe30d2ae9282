// A phone's OSC fader drives a take through the installed OSC driver library: the main settings
// switch the listener on at attach, the fader is bound by moving it, and the recorded curve is
// the fader's script.
#include "../unidevice/OscTestSupport.h"
#include "RecordingFixture.h"
#include "core/MainConfigSettings.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"

#include <cmath>
#include <filesystem>

namespace qvn::test {
namespace {

using mvk::qvn::core::MainConfigSettings;
using mvk::unidevice::Control;
using mvk::unidevice::DeviceHandler;

// The fader's script: up from 0 to 1 over a second, back down to -0.5 over the next.
double faderScript(double takeTime) {
    if (takeTime <= 1.0)
        return takeTime;
    return std::max(-0.5, 1.0 - 1.5 * (takeTime - 1.0));
}

class OscTake : public RecordingFixture {
protected:
    void SetUp() override {
        const std::string drivers =
            environment.installRoot() + "/quorvane/data/unidevice/drivers/linux/x64";
        std::filesystem::create_directories(drivers);
        std::filesystem::copy_file(std::string(QVN_DRIVER_DIR) + "/osc.so", drivers + "/osc.so");
        port = freeUdpPort();
        environment.writeFile(environment.userDataPath() + "/data/refhost/settings.xml",
                              "<QVNConfig><item id=\"120\">1</item><item id=\"121\">" +
                                  std::to_string(port) +
                                  "</item><item id=\"122\">1</item></QVNConfig>");
        RecordingFixture::SetUp();
    }
    std::string deviceName() const { return "OSC :" + std::to_string(port); }
    // Sends the fader's value and waits until the host's poll would read it.
    void setFader(OscSender& phone, float value) {
        phone.fader("/1/fader1", value);
        ASSERT_TRUE(waitUntil([&] {
            DeviceHandler::instance()->updateAll();
            Control* fader = DeviceHandler::instance()->findControl(mvk::util::xml::Element(
                "<control device=\"" + deviceName() + "\" type=\"/1/fader1\" index=\"0\"/>"));
            return fader != nullptr && fader->current() == value;
        }));
    }

    uint16_t port = 0;
};

TEST_F(OscTake, AScriptedFaderBoundByMovingItRecordsItsScript) {
    // The stored settings switched the listener on at attach, on the stored port, loopback only.
    EXPECT_TRUE(core->getSettings().oscEnabled());
    EXPECT_EQ(core->getSettings().oscPort(), port);
    ASSERT_NE(DeviceHandler::instance()->device(deviceName(), 0), nullptr);
    OscSender phone(port);

    // Bound the way the binding window does it: the first control moved is the one.
    ASSERT_TRUE(DeviceHandler::instance()->prepareDetectionAll());
    phone.fader("/1/fader1", 0.6f);
    Control* moved = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (moved = DeviceHandler::instance()->detectControl()); }));
    ASSERT_EQ(moved->type(), "/1/fader1");
    auto* pan = rig->getProperties()->property("Pan");
    ASSERT_NE(pan->bind(moved), 0u);
    pan->setDeadzone(0);
    setFader(phone, 0.0f);

    setCountdown(0);
    ASSERT_EQ(core->startRecording(), ResultOk);
    tick(0);
    // Before every frame the phone sends the script's value for the frame's time.
    while (core->isRecording() && take().samples < 20) {
        const double next = take().samples == 0 ? core->getRecordTime() + 0.1
                                                : take().lastSampleTime + 0.1;
        setFader(phone, static_cast<float>(faderScript(next - 10.0)));
        tick(100);
    }
    core->stopRecording();
    ASSERT_EQ(take().samples, 20);
    ASSERT_EQ(panCurve().keyCount(), 20u);
    for (const auto& key : panCurve().allKeys())
        EXPECT_NEAR(key.value, faderScript(key.time - 10.0), 1e-6) << "at " << key.time;
    EXPECT_NEAR(panCurve().allKeys().back().value, -0.5, 1e-6);
}

TEST_F(OscTake, ThePreferencesMoveTheListenerAndSaveWhereItListens) {
    MainConfigSettings& settings = core->getSettings();
    const uint16_t other = freeUdpPort();
    ASSERT_TRUE(settings.setOscPort(other));
    EXPECT_FALSE(settings.setOscPort(70000));
    settings.applyToDrivers();
    ASSERT_NE(DeviceHandler::instance()->device("OSC :" + std::to_string(other), 0), nullptr);
    OscSender phone(other);
    phone.fader("/xy", 0.5f);
    ASSERT_TRUE(waitUntil([&] {
        DeviceHandler::instance()->updateAll();
        return DeviceHandler::instance()->device("OSC :" + std::to_string(other), 0)
                   ->controlCount() == 1;
    }));
    settings.setOscEnabled(false);
    ASSERT_TRUE(settings.save());
    MainConfigSettings reread;
    reread.load(environment.userDataPath() + "/data/refhost");
    EXPECT_FALSE(reread.oscEnabled());
    EXPECT_EQ(reread.oscPort(), other);
    EXPECT_TRUE(reread.oscLoopbackOnly());
}

} // namespace
} // namespace qvn::test
