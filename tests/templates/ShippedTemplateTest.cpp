// Template tools driven by a controller: SDL's virtual joystick behind the staged gamepad
// driver, and the example templates of the install tree loaded at attach.
#include "TemplateFixture.h"
#include "core/instances/SceneTagWriter.h"
#include "core/libraries/ConfigProfileManager.h"
#include "core/libraries/InputProfileManager.h"
#include "core/libraries/LibraryManager.h"
#include "unidevice/DeviceHandler.h"

#include <SDL2/SDL.h>

#include <cmath>
#include <filesystem>

namespace qvn::test {
namespace {

using mvk::unidevice::Control;

constexpr double Degree = 3.14159265358979323846 / 180.0;

class PadTest : public TemplateFixture {
protected:
    PadTest() : TemplateFixture(TestEnvironment::stageRoot()) {}
    void SetUp() override {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER), 0);
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.name = "Virtual Pad";
        joystick = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
        ASSERT_NE(joystick, nullptr);
        TemplateFixture::SetUp();
        poll();
    }
    void TearDown() override {
        TemplateFixture::TearDown();
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == SDL_JoystickInstanceID(joystick))
                SDL_JoystickDetachVirtual(i);
        SDL_JoystickClose(joystick);
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
    }

    static mvk::unidevice::DeviceHandler* handler() {
        return mvk::unidevice::DeviceHandler::instance();
    }
    Control* axis(SDL_GameControllerAxis which) {
        return handler()->findControl(
            Element("<control device=\"Virtual Pad\" type=\"axis\" index=\"" +
                    std::to_string(which) + "\"/>"));
    }
    // Sticks span the whole raw range; a trigger's 0 to 1 covers it too, since the controller
    // mapping halves a trigger's raw range.
    void move(SDL_GameControllerAxis which, double value) {
        const bool trigger =
            which == SDL_CONTROLLER_AXIS_TRIGGERLEFT || which == SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
        const long raw =
            trigger ? std::lround(value * 65535.0) - 32768 : std::lround(value * 32767);
        SDL_JoystickSetVirtualAxis(joystick, which, static_cast<Sint16>(raw));
    }
    // A template instance joins the device list ahead of the last device, so it may compute
    // before the pad has taken its new state; a second poll settles both.
    void poll() {
        handler()->updateAll();
        handler()->updateAll();
    }
    // Binds the instance's property to a pad axis with the response left linear.
    void bind(Instance* instance, const std::string& property, SDL_GameControllerAxis which) {
        auto* target = instance->getProperties()->property(property);
        ASSERT_NE(target, nullptr) << property;
        ASSERT_NE(axis(which), nullptr);
        target->bind(axis(which));
        target->setDeadzone(0.0);
    }
    double pad(SDL_GameControllerAxis which) { return axis(which)->current(); }
    static std::vector<std::string> controlNames(Instance* instance) {
        std::vector<std::string> names;
        for (int i = 0; i < instance->controlCount(); ++i)
            names.push_back(instance->control(i)->type());
        return names;
    }

    SDL_Joystick* joystick = nullptr;
};

TEST_F(PadTest, TurntableTurnsWithOneAxisAndOrbitsAtTheRadius) {
    Instance* turntable = create("Turntable");
    ASSERT_NE(turntable, nullptr);
    EXPECT_EQ(turntable->getName(), "Turntable_01");
    EXPECT_EQ(controlNames(turntable), (std::vector<std::string>{"Angle", "Orbit X", "Orbit Z"}));
    ASSERT_NE(turntable->getProperty("Spinner: Range (degrees)"), nullptr);
    bind(turntable, "Spin", SDL_CONTROLLER_AXIS_LEFTX);
    move(SDL_CONTROLLER_AXIS_LEFTX, 0.5);
    poll();
    const double angle = pad(SDL_CONTROLLER_AXIS_LEFTX) * 180.0;
    EXPECT_NEAR(angle, 90.0, 0.01);
    EXPECT_NEAR(value(turntable, 0), angle, 1e-9);
    EXPECT_NEAR(value(turntable, 1), 5.0 * std::sin(angle * Degree), 1e-9);
    EXPECT_NEAR(value(turntable, 2), 5.0 * std::cos(angle * Degree), 1e-9);
}

// The scale a round dead zone of radius `d` gives a stick at (x, y): nothing inside, and from
// its edge to full deflection stretched back to the whole range.
double roundDeadZone(double x, double y, double d) {
    const double r = std::hypot(x, y);
    return r <= d ? 0.0 : (r - d) / ((1.0 - d) * r);
}

TEST_F(PadTest, CraneUsesARoundDeadZonePerStick) {
    Instance* crane = create("Two-Stick Crane");
    ASSERT_NE(crane, nullptr);
    EXPECT_EQ(controlNames(crane), (std::vector<std::string>{"Swing", "Boom", "Track", "Dolly",
                                                             "Tip height", "Tip reach"}));
    // The shipped input profile leaves dead zones to the template.
    EXPECT_EQ(crane->getProperties()->property("Boom")->deadzone(), 0.0);
    bind(crane, "Swing", SDL_CONTROLLER_AXIS_LEFTX);
    bind(crane, "Boom", SDL_CONTROLLER_AXIS_LEFTY);
    bind(crane, "Track", SDL_CONTROLLER_AXIS_RIGHTX);
    bind(crane, "Dolly", SDL_CONTROLLER_AXIS_RIGHTY);
    move(SDL_CONTROLLER_AXIS_LEFTX, 0.6);
    move(SDL_CONTROLLER_AXIS_LEFTY, -0.3);
    move(SDL_CONTROLLER_AXIS_RIGHTX, 0.1); // inside the round dead zone of 0.15
    move(SDL_CONTROLLER_AXIS_RIGHTY, 0.1);
    poll();
    const double x = pad(SDL_CONTROLLER_AXIS_LEFTX);
    const double y = pad(SDL_CONTROLLER_AXIS_LEFTY);
    const double k = roundDeadZone(x, y, 0.15);
    const double boom = y * k * 45.0;
    EXPECT_NEAR(value(crane, 0), x * k * 90.0, 1e-9);
    EXPECT_NEAR(value(crane, 1), boom, 1e-9);
    EXPECT_EQ(value(crane, 2), 0.0);
    EXPECT_EQ(value(crane, 3), 0.0);
    EXPECT_NEAR(value(crane, 4), 4.0 * std::sin(boom * Degree), 1e-9);
    EXPECT_NEAR(value(crane, 5), 4.0 * std::cos(boom * Degree), 1e-9);
    // A diagonal push that per-axis dead zones of the same size would swallow.
    move(SDL_CONTROLLER_AXIS_RIGHTX, 0.12);
    move(SDL_CONTROLLER_AXIS_RIGHTY, -0.12);
    poll();
    const double rx = pad(SDL_CONTROLLER_AXIS_RIGHTX);
    const double ry = pad(SDL_CONTROLLER_AXIS_RIGHTY);
    EXPECT_GT(value(crane, 2), 0.0);
    EXPECT_NEAR(value(crane, 2), rx * roundDeadZone(rx, ry, 0.15), 1e-9);
    EXPECT_NEAR(value(crane, 3), ry * roundDeadZone(rx, ry, 0.15), 1e-9);
}

TEST_F(PadTest, FocusPullRacksInInverseDistanceAndAddsTheTrim) {
    Instance* focus = create("Trigger Focus Pull");
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(controlNames(focus),
              (std::vector<std::string>{"Focus distance", "Pull position", "At far mark"}));
    bind(focus, "Pull", SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
    bind(focus, "Trim", SDL_CONTROLLER_AXIS_LEFTX);
    move(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0.5);
    move(SDL_CONTROLLER_AXIS_LEFTX, 0.2);
    poll();
    const double pull = pad(SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
    const double trim = pad(SDL_CONTROLLER_AXIS_LEFTX);
    const double rack = 1.0 / (1.0 / 0.5 + (1.0 / 10.0 - 1.0 / 0.5) * pull);
    EXPECT_NEAR(value(focus, 0), rack + trim * 0.25, 1e-9);
    EXPECT_NEAR(value(focus, 1), pull, 1e-12);
    EXPECT_EQ(value(focus, 2), 0.0);
    move(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 1.0);
    move(SDL_CONTROLLER_AXIS_LEFTX, 0.0);
    poll();
    EXPECT_NEAR(value(focus, 0), 10.0, 1e-9);
    EXPECT_EQ(value(focus, 2), 1.0);
}

// Every template is an instance of the one "template" tool, yet each keeps its profiles in a
// folder of its own: a profile saved for the turntable is not offered to the crane. Profiles kept
// in the tool's shared folder before stay readable for all of them.
TEST_F(PadTest, EachTemplateKeepsItsProfilesInAFolderOfItsOwn) {
    Tool* tool = LibraryManager::instance()->findTool("template");
    ASSERT_NE(tool, nullptr);
    environment.writeFile(tool->dataFolder() + "/configprofiles/Old.mcp",
                          "<configprofiles version=\"2.0\"><configprofile version=\"2.0\" "
                          "name=\"Old\"/></configprofiles>");
    environment.writeFile(tool->dataFolder() + "/inputprofiles/Old.mip", "<profile name=\"Old\"/>");
    Instance* turntable = create("Turntable");
    Instance* crane = create("Two-Stick Crane");
    ASSERT_NE(turntable, nullptr);
    ASSERT_NE(crane, nullptr);
    ASSERT_EQ(turntable->getTool(), tool);
    ASSERT_EQ(crane->getTool(), tool);

    auto& turntableConfigs = tool->configProfilesOf(*turntable);
    auto& craneConfigs = tool->configProfilesOf(*crane);
    EXPECT_EQ(turntableConfigs.destinationPath(), tool->dataFolder() + "/turntable/configprofiles");
    EXPECT_EQ(craneConfigs.destinationPath(), tool->dataFolder() + "/crane/configprofiles");
    ASSERT_EQ(turntableConfigs.addElement(turntable->makeConfigProfile("Slow spin"), true, false),
              XMLFileManager::Done);
    EXPECT_TRUE(std::filesystem::exists(turntableConfigs.destinationPath() + "/Slow spin.mcp"));
    EXPECT_FALSE(craneConfigs.hasElement("Slow spin"));
    auto& turntableInputs = tool->inputProfilesOf(*turntable);
    ASSERT_EQ(turntableInputs.addElement(turntable->makeInputProfile("Left stick"), true, false),
              XMLFileManager::Done);
    EXPECT_FALSE(tool->inputProfilesOf(*crane).hasElement("Left stick"));
    for (Instance* instance : {turntable, crane}) {
        EXPECT_TRUE(tool->configProfilesOf(*instance).hasElement("Old"));
        EXPECT_TRUE(tool->inputProfilesOf(*instance).hasElement("Old"));
    }

    // A second turntable, and one restored from a scene, find the turntable's profiles.
    EXPECT_TRUE(tool->configProfilesOf(*create("Turntable")).hasElement("Slow spin"));
    InstanceReference* restored =
        core->createFromScene(SceneTagWriter::write(*turntable->getReference(), 0), nullptr);
    ASSERT_NE(restored, nullptr);
    EXPECT_TRUE(tool->configProfilesOf(*restored->getInstance()).hasElement("Slow spin"));
}

} // namespace
} // namespace qvn::test
