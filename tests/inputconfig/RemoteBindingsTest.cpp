// An OSC fader and a MIDI knob bound in the input settings built from the shipped layout, by
// moving them while the binding window listens: the installed OSC and MIDI driver libraries,
// liblo's sender on the loopback interface and a private JACK server.
#include "InputSettingsFixture.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/JackMidiBox.h"
#include "unidevice/OscTestSupport.h"
#include "unidevice/PrivateJackServer.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"

#include <QElapsedTimer>
#include <QWidget>

#include <cstdlib>

namespace qvn::test {
namespace {

using namespace mvk::gui;

class RemoteBindingsTest : public InputSettingsFixture {
protected:
    void SetUp() override {
        if (!jack.error().empty())
            GTEST_SKIP() << "no private JACK server: " << jack.error();
        InputSettingsFixture::SetUp();
        // The picture for the guide shows the default port; the tests take a free one.
        picture = std::getenv("QVN_PICTURE_DIR") != nullptr ? std::getenv("QVN_PICTURE_DIR") : "";
        port = picture.empty() ? freeUdpPort() : 9000;
        auto& settings = core->getSettings();
        settings.setOscEnabled(true);
        settings.setOscPort(port);
        settings.setOscLoopbackOnly(true);
        settings.applyToDrivers();
    }
    void TearDown() override {
        box.reset();
        InputSettingsFixture::TearDown();
    }

    PrivateJackServer jack;
    std::unique_ptr<JackMidiBox> box;
    std::string picture;
    uint16_t port = 0;
};

TEST_F(RemoteBindingsTest, AFaderAndAKnobMovedInTheBindingWindowBecomeTheRowsBindings) {
    box = std::make_unique<JackMidiBox>("Knobs");
    ASSERT_EQ(box->error(), "");
    auto* handler = mvk::unidevice::DeviceHandler::instance();
    ASSERT_TRUE(waitUntil([&] {
        handler->updateAll();
        return handler->device("Knobs:out", 0) != nullptr;
    }, std::chrono::seconds(10)));
    Instance* instance = make();
    ASSERT_TRUE(dialog->open(instance));

    OscSender phone(port);
    // Like a user, the test moves the control again while the window has not seen it.
    constexpr int limitMs = 10000;
    constexpr int againMs = 300;
    bindByDoing(0, [&] {
        for (float value : {0.2f, 0.4f, 0.6f})
            phone.fader("/1/fader1", value);
    }, {}, limitMs, againMs);
    bindByDoing(1, [&] {
        for (unsigned char value : {20, 60, 100})
            box->send({0xB0, 7, value});
    }, {}, limitMs, againMs);
    const std::string osc = "OSC :" + std::to_string(port);
    EXPECT_EQ(part(0, Rows::BindingPart)->getLabel(), osc + ": /1/fader1 [0]");
    EXPECT_EQ(part(1, Rows::BindingPart)->getLabel(), "Knobs:out: CC 7 ch 1");

    // The bound inputs follow the fader and the knob in the host's poll.
    auto* properties = instance->getProperties();
    properties->property("Pan")->setDeadzone(0);
    properties->property("Tilt")->setDeadzone(0);
    QElapsedTimer sinceSent;
    EXPECT_TRUE(waitUntil([&] {
        if (!sinceSent.isValid() || sinceSent.elapsed() > againMs) {
            phone.fader("/1/fader1", 0.75f);
            box->send({0xB0, 7, 127});
            sinceSent.start();
        }
        handler->updateAll();
        return properties->property("Pan")->value() == 0.75 &&
               properties->property("Tilt")->value() == 1.0;
    }, std::chrono::seconds(10)));
    if (!picture.empty())
        dialog->getRoot()->getWidget()->grab().save(
            QString::fromStdString(picture + "/input_settings_remote.png"));
}

} // namespace
} // namespace qvn::test
