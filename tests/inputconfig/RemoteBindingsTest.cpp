// An OSC fader and a MIDI knob bound in the input settings built from the shipped layout, by
// moving them while the binding window listens: the installed OSC and MIDI driver libraries,
// liblo's sender on the loopback interface and a private JACK server.
#include "core/windows/BindingDialog.h"
#include "core/windows/ControlDetector.h"
#include "core/windows/InputConfigDlg.h"
#include "core/windows/PropertyManager.h"
#include "gui/StdComponent.h"
#include "instances/InstanceFixture.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/OscTestSupport.h"
#include "unidevice/PrivateJackServer.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"

#include <rtmidi/RtMidi.h>

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <filesystem>
#include <functional>

namespace qvn::test {
namespace {

using namespace mvk::gui;
using Rows = InputConfigDlg::PropertyManager;

class RemoteBindingsTest : public InstanceFixture {
protected:
    void SetUp() override {
        if (!jack.error().empty())
            GTEST_SKIP() << "no private JACK server: " << jack.error();
        std::filesystem::copy(TestEnvironment::stageRoot() + "/quorvane/data",
                              environment.installRoot() + "/quorvane/data",
                              std::filesystem::copy_options::recursive);
        InstanceFixture::SetUp();
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
        dialog.reset();
        box.reset();
        if (core != nullptr)
            InstanceFixture::TearDown();
    }
    Component* part(int32_t row, int32_t which) const {
        return dialog->getRoot()->findById(Rows::RowBase + Rows::RowStride * row + which);
    }
    static void click(Component* root, int32_t id) {
        static_cast<StdComponent*>(root->findById(id))->sendEvent(0x4142, id);
    }
    // Clicks the row's Bind..., plays `move` once the window listens, then clicks Use.
    void bindByMoving(int32_t row, const std::function<void()>& move) {
        BindingDialog& binding = dialog->propertyManager()->bindingDialog();
        bool moved = false;
        QElapsedTimer clock;
        clock.start();
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            ControlDetector* detection = binding.detector();
            if (detection == nullptr)
                return;
            if (clock.elapsed() > 5000) {
                click(binding.getRoot(), BindingDialog::CancelButton);
            } else if (detection->label() == ControlDetector::PressText && !moved) {
                move();
                moved = true;
            } else if (detection->label() == ControlDetector::ConfirmText) {
                click(binding.getRoot(), BindingDialog::UseButton);
            }
        });
        user.start(10);
        click(dialog->getRoot(), Rows::RowBase + Rows::RowStride * row + Rows::BindPart);
        user.stop();
    }

    PrivateJackServer jack;
    std::unique_ptr<InputConfigDlg> dialog = std::make_unique<InputConfigDlg>();
    std::unique_ptr<RtMidiOut> box;
    std::string picture;
    uint16_t port = 0;
};

TEST_F(RemoteBindingsTest, AFaderAndAKnobMovedInTheBindingWindowBecomeTheRowsBindings) {
    box = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, "Knobs");
    box->openVirtualPort("out");
    auto* handler = mvk::unidevice::DeviceHandler::instance();
    ASSERT_TRUE(waitUntil([&] {
        handler->updateAll();
        return handler->device("Knobs:out", 0) != nullptr;
    }));
    Instance* instance = make();
    ASSERT_TRUE(dialog->open(instance));

    OscSender phone(port);
    bindByMoving(0, [&] {
        for (float value : {0.2f, 0.4f, 0.6f})
            phone.fader("/1/fader1", value);
    });
    bindByMoving(1, [&] {
        for (unsigned char value : {20, 60, 100}) {
            std::vector<unsigned char> knob{0xB0, 7, value};
            box->sendMessage(&knob);
        }
    });
    const std::string osc = "OSC :" + std::to_string(port);
    EXPECT_EQ(part(0, Rows::BindingPart)->getLabel(), osc + ": /1/fader1 [0]");
    EXPECT_EQ(part(1, Rows::BindingPart)->getLabel(), "Knobs:out: CC 7 ch 1");

    // The bound inputs follow the fader and the knob in the host's poll.
    auto* properties = instance->getProperties();
    properties->property("Pan")->setDeadzone(0);
    properties->property("Tilt")->setDeadzone(0);
    phone.fader("/1/fader1", 0.75f);
    std::vector<unsigned char> knob{0xB0, 7, 127};
    box->sendMessage(&knob);
    EXPECT_TRUE(waitUntil([&] {
        handler->updateAll();
        return properties->property("Pan")->value() == 0.75 &&
               properties->property("Tilt")->value() == 1.0;
    }));
    if (!picture.empty())
        dialog->getRoot()->getWidget()->grab().save(
            QString::fromStdString(picture + "/input_settings_remote.png"));
}

} // namespace
} // namespace qvn::test
