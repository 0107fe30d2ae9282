// A phone's OSC fader drives a take through the installed OSC driver library: the main settings
// switch the listener on at attach, and the recorded curve is the fader's script. The main
// preferences page moves and stops the listener.
#include "../unidevice/OscTestSupport.h"
#include "RecordingFixture.h"
#include "core/MainConfigSettings.h"
#include "core/configadaptor/MainConfig.h"
#include "core/instances/InstanceReference.h"
#include "core/windows/ConfigWindow.h"
#include "gui/Component.h"
#include "unidevice/Device.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/Driver.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"
#include "util/Log.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QTest>

#include <cmath>
#include <filesystem>

namespace qvn::test {
namespace {

using mvk::gui::Component;
using mvk::qvn::core::ConfigWindow;
using mvk::qvn::core::MainConfigSettings;
using mvk::qvn::core::configadaptor::element::MainConfig;
using mvk::unidevice::Control;
using mvk::unidevice::Device;
using mvk::unidevice::Property;
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
        // The shipped data, with the OSC driver as the only driver library.
        std::filesystem::copy(TestEnvironment::stageRoot() + "/quorvane/data",
                              environment.installRoot() + "/quorvane/data",
                              std::filesystem::copy_options::recursive);
        const std::string drivers =
            environment.installRoot() + "/quorvane/data/unidevice/drivers/linux/x64";
        for (const auto& library : std::filesystem::directory_iterator(drivers))
            if (library.path().filename() != "osc.so")
                std::filesystem::remove(library.path());
        port = freeUdpPort();
        environment.writeFile(environment.userDataPath() + "/data/refhost/settings.xml",
                              "<QVNConfig><item id=\"120\">1</item><item id=\"121\">" +
                                  std::to_string(port) +
                                  "</item><item id=\"122\">1</item></QVNConfig>");
        RecordingFixture::SetUp();
    }
    std::string deviceName() const { return "OSC :" + std::to_string(port); }
    static mvk::util::xml::Element binding(uint16_t on, const std::string& address) {
        return controlBinding("OSC :" + std::to_string(on), address, 0);
    }
    // Sends `value` to `address` at host:on and waits until the host's poll reads it there.
    static bool arrives(uint16_t on, const char* host, const std::string& address, float value) {
        OscSender sender(on, host);
        sender.fader(address.c_str(), value);
        return waitUntil([&] {
            DeviceHandler::instance()->updateAll();
            Control* control = DeviceHandler::instance()->findControl(binding(on, address));
            return control != nullptr && control->current() == value;
        });
    }
    // Whether input to host:on has made a control for the address (a binding would make one).
    static bool learned(uint16_t on, const std::string& address) {
        DeviceHandler::instance()->updateAll();
        const auto* device = DeviceHandler::instance()->device("OSC :" + std::to_string(on), 0);
        for (int32_t i = 0; device != nullptr && i < device->controlCount(); ++i)
            if (device->control(i)->type() == address)
                return true;
        return false;
    }

    uint16_t port = 0;
};

TEST_F(OscTake, AScriptedFaderRecordsItsScript) {
    // The stored settings switched the listener on at attach, on the stored port, loopback only.
    EXPECT_TRUE(core->getSettings().oscEnabled());
    EXPECT_EQ(core->getSettings().oscPort(), port);
    ASSERT_NE(DeviceHandler::instance()->device(deviceName(), 0), nullptr);

    // Bound as a stored profile binds it, before the phone has sent anything.
    auto* pan = rig->getProperties()->property("Pan");
    ASSERT_NE(pan->bind(DeviceHandler::instance()->findControl(binding(port, "/1/fader1"))), 0u);
    pan->setDeadzone(0);
    ASSERT_TRUE(arrives(port, "127.0.0.1", "/1/fader1", 0.0f));

    setCountdown(0);
    ASSERT_EQ(core->startRecording(), ResultOk);
    tick(0);
    // Before every frame the phone sends the script's value for the frame's time.
    while (core->isRecording() && take().samples < 20) {
        const double next = take().samples == 0 ? core->getRecordTime() + 0.1
                                                : take().lastSampleTime + 0.1;
        const auto value = static_cast<float>(faderScript(next - 10.0));
        ASSERT_TRUE(arrives(port, "127.0.0.1", "/1/fader1", value));
        tick(100);
    }
    core->stopRecording();
    ASSERT_EQ(take().samples, 20);
    ASSERT_EQ(panCurve().keyCount(), 20u);
    for (const auto& key : panCurve().allKeys())
        EXPECT_NEAR(key.value, faderScript(key.time - 10.0), 1e-6) << "at " << key.time;
    EXPECT_NEAR(panCurve().allKeys().back().value, -0.5, 1e-6);
}

// The OSC entries of the main preferences page, built from the shipped layout in the
// configuration window and used the way a person uses them: the listener follows each change,
// and listens exactly where the page says.
TEST_F(OscTake, TheMainPreferencesPageStartsMovesAndStopsTheListener) {
    ConfigWindow* window = core->getConfigWindow();
    ASSERT_NE(window, nullptr);
    window->open(core->getRoot()->getInstance());
    Component* page = window->getRoot()->findById(ConfigWindow::PageArea)->child(0);
    ASSERT_NE(page, nullptr);
    auto* enabled =
        static_cast<QCheckBox*>(page->findById(MainConfig::OscEnabledCheckBox)->getWidget());
    auto* portBox =
        static_cast<QDoubleSpinBox*>(page->findById(MainConfig::OscPortSpinner)->getWidget());
    auto* loopback =
        static_cast<QCheckBox*>(page->findById(MainConfig::OscLoopbackCheckBox)->getWidget());
    // An address of this machine other than 127.0.0.1, to stand for a phone on the network.
    std::string network = outsideAddress();
    if (network.empty())
        network = "127.0.0.2";

    // The page shows what the stored settings started at attach.
    EXPECT_TRUE(enabled->isChecked());
    EXPECT_EQ(portBox->value(), port);
    EXPECT_TRUE(loopback->isChecked());
    EXPECT_TRUE(arrives(port, "127.0.0.1", "/local", 0.25f));
    Device* const first = DeviceHandler::instance()->device(deviceName(), 0);
    Property zoom("zoom", mvk::unidevice::ControlKind::Finite);
    zoom.setDeadzone(0);
    zoom.bind(DeviceHandler::instance()->findControl(binding(port, "/local")));

    // Switched off: the port is let go of at once.
    enabled->click();
    EXPECT_FALSE(core->getSettings().oscEnabled());
    EXPECT_TRUE(udpPortFree(port));

    // A port typed while off opens nothing; switched on again, only that port listens. The
    // first port's device stays, resting, and only the listening device takes part in binding.
    const uint16_t other = freeUdpPort();
    portBox->setValue(other);
    QTest::keyClick(portBox, Qt::Key_Return);
    EXPECT_EQ(core->getSettings().oscPort(), other);
    EXPECT_TRUE(udpPortFree(other));
    enabled->click();
    EXPECT_TRUE(arrives(other, "127.0.0.1", "/local", 0.5f));
    EXPECT_TRUE(udpPortFree(port));
    EXPECT_EQ(zoom.value(), 0.0);
    EXPECT_EQ(DeviceHandler::instance()->driver("osc")->prepareDetection(), 1);

    // Loopback only: what is sent to the machine's other address never arrives. Unticked, the
    // listener moves to every interface and it does.
    OscSender phone(other, network.c_str());
    phone.fader("/net", 0.5f);
    EXPECT_TRUE(arrives(other, "127.0.0.1", "/local", 0.75f));
    EXPECT_FALSE(learned(other, "/net"));
    loopback->click();
    EXPECT_FALSE(core->getSettings().oscLoopbackOnly());
    EXPECT_TRUE(arrives(other, network.c_str(), "/net", -0.5f));
    EXPECT_TRUE(arrives(other, "127.0.0.1", "/local", 1.0f));

    // Back to the first port while on: its device takes up again, and so does the binding.
    portBox->setValue(port);
    QTest::keyClick(portBox, Qt::Key_Return);
    EXPECT_TRUE(arrives(port, network.c_str(), "/local", 0.125f));
    EXPECT_EQ(DeviceHandler::instance()->device(deviceName(), 0), first);
    EXPECT_EQ(zoom.value(), 0.125);
    EXPECT_TRUE(udpPortFree(other, "0.0.0.0"));

    // A port another program holds: the device rests and the log says why.
    const int holder = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in taken{};
    taken.sin_family = AF_INET;
    ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&taken), sizeof taken), 0);
    socklen_t length = sizeof taken;
    getsockname(holder, reinterpret_cast<sockaddr*>(&taken), &length);
    const uint16_t busy = ntohs(taken.sin_port);
    portBox->setValue(busy);
    QTest::keyClick(portBox, Qt::Key_Return);
    EXPECT_NE(mvk::util::Log::instance()->text().find("OSC: cannot listen on port " +
                                                     std::to_string(busy) +
                                                     ": Address already in use"),
              std::string::npos);
    EXPECT_FALSE(DeviceHandler::instance()
                     ->device("OSC :" + std::to_string(busy), 0)
                     ->prepareDetection(0));
    DeviceHandler::instance()->updateAll();
    EXPECT_EQ(zoom.value(), 0.0);
    close(holder);
    enabled->click();
    EXPECT_TRUE(udpPortFree(port, "0.0.0.0"));

    // What the page set is what the next session starts with.
    ASSERT_TRUE(core->getSettings().save());
    MainConfigSettings reread;
    reread.load(environment.userDataPath() + "/data/refhost");
    EXPECT_FALSE(reread.oscEnabled());
    EXPECT_EQ(reread.oscPort(), busy);
    EXPECT_FALSE(reread.oscLoopbackOnly());
}

} // namespace
} // namespace qvn::test
