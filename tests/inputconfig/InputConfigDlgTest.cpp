// The input settings dialog built from the shipped layout for an instance of a test tool, with
// the simulated game pad plugged in.
#include "core/windows/InputConfigDlg.h"
#include "InputSettingsFixture.h"
#include "core/libraries/InputProfileManager.h"
#include "core/recording/TimerManager.h"
#include "core/windows/AdvancedSettingsDialog.h"
#include "gui/StdComponent.h"
#include "gui/Toolkit.h"
#include "gui/componentinterface/ComboBox.h"
#include "gui/componentinterface/Graph.h"
#include "gui/componentinterface/ListBox.h"
#include "gui/componentinterface/Spinner.h"
#include "platform/Interaction.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <cstdlib>

namespace qvn::test {
namespace {

using namespace mvk::gui;

class InputConfigDlgTest : public InputSettingsFixture {
protected:
    void SetUp() override {
        setenv("QUORVANE_SIMULATED_GAMEPAD",
               environment.writeFile("pad.txt", "0 leftx 0.25\n").c_str(), 1);
        InputSettingsFixture::SetUp();
    }
    void TearDown() override {
        InputSettingsFixture::TearDown();
        unsetenv("QUORVANE_SIMULATED_GAMEPAD");
    }

    componentinterface::ComboBox* profileBox() const {
        return interfaceOf<componentinterface::ComboBox>(
            dialog->getRoot()->findById(InputConfigDlg::ProfileBox));
    }
    // Binds the instance's "Pan" to the left stick of the simulated pad.
    static mvk::unidevice::Property* bindPanToTheStick(Instance* instance) {
        auto* pan = instance->getProperties()->property("Pan");
        pan->bind(mvk::unidevice::DeviceHandler::instance()->findControl(mvk::util::xml::Element(
            "<control device=\"Simulated Gamepad\" type=\"axis\" index=\"0\"/>")));
        return pan;
    }
};

// The window of an instance whose Pan is on the pad's stick: its title follows a rename of the
// instance whichever way the rename comes, the rows show each input's binding and device icon,
// and the device list shows the devices with their icons.
TEST_F(InputConfigDlgTest, RowsAndDevicesShowEachBindingAndFollowRenamesAndProfileCommands) {
    Instance* instance = make("Boom");
    auto* pan = bindPanToTheStick(instance);
    ASSERT_NE(pan->control(), nullptr);
    ASSERT_TRUE(dialog->open(instance));
    EXPECT_EQ(dialog->getRoot()->getLabel(), "Inputs for " + instance->getName());
    ASSERT_NE(instance->getReference(), nullptr);
    instance->getReference()->rename("Jib");
    ASSERT_EQ(instance->getName().rfind("Jib", 0), 0u);
    EXPECT_EQ(dialog->getRoot()->getLabel(), "Inputs for " + instance->getName());
    ASSERT_TRUE(host.undo());
    ASSERT_EQ(instance->getName().rfind("Boom", 0), 0u);
    EXPECT_EQ(dialog->getRoot()->getLabel(), "Inputs for " + instance->getName());

    EXPECT_EQ(part(0, Rows::NamePart)->getLabel(), "Pan");
    EXPECT_EQ(part(0, Rows::BindingPart)->getLabel(), "Simulated Gamepad: Left Stick X");
    EXPECT_EQ(part(1, Rows::BindingPart)->getLabel(), "[none]");
    auto* icon = static_cast<QLabel*>(part(0, Rows::IconPart)->getWidget());
    EXPECT_FALSE(icon->pixmap().isNull());

    Component* list = dialog->getRoot()->findById(InputConfigDlg::DeviceList);
    auto* devices = interfaceOf<componentinterface::ListBox>(list);
    // The list starts with the entry for no device, which has no icon; the devices follow,
    // though neither the instance's own device nor the emulator is offered.
    ASSERT_EQ(devices->getItemText(0), "No device");
    EXPECT_EQ(devices->getItemImage(0), "");
    const int32_t pad = devices->findItem("Simulated Gamepad");
    const int32_t keys = devices->findItem("Keyboard");
    ASSERT_GT(pad, 0);
    ASSERT_GT(keys, 0);
    EXPECT_EQ(devices->findItem(instance->getName()), -1);
    EXPECT_EQ(devices->findItem("TrinaryEmulator"), -1);
    EXPECT_EQ(devices->getItemImage(pad), "[images]/icon_inputs_gamepad.png");
    EXPECT_EQ(devices->getItemImage(keys), "[images]/icon_inputs_keyboard.png");
    // The pictures come from the installed images.
    auto* entries = static_cast<QListWidget*>(list->getWidget());
    EXPECT_FALSE(entries->item(pad)->icon().isNull());
    EXPECT_FALSE(entries->item(keys)->icon().isNull());

    // Saving under a new name lists it; loading a profile that unbinds redraws the rows.
    script.pushText("Stick");
    click(InputConfigDlg::SaveAsNewButton);
    auto* profiles = profileBox();
    EXPECT_NE(profiles->findItem("Stick"), -1);
    EXPECT_EQ(profiles->getCurrentText(), "Stick");
    instance->applyInputProfile(mvk::util::xml::Element("<profile name=\"Empty\"/>"));
    EXPECT_EQ(part(0, Rows::BindingPart)->getLabel(), "[none]");
    EXPECT_TRUE(icon->pixmap().isNull());
    // The instance opens its own window; it goes with the instance.
    EXPECT_EQ(instance->showInputSettings(), 0);
    EXPECT_EQ(instance->showInputSettings(), 0);
    click(InputConfigDlg::StartProfileButton);
    EXPECT_EQ(dialog->getRoot()->findById(InputConfigDlg::StatusLine)->getLabel(),
              "Start Profile saved");
}

TEST_F(InputConfigDlgTest, AKeyPressedInTheBindingWindowBecomesTheRowsBinding) {
    Instance* instance = make();
    ASSERT_TRUE(dialog->open(instance));
    BindingDialog& binding = dialog->propertyManager()->bindingDialog();
    bindByDoing(
        1,
        [&] {
            EXPECT_FALSE(binding.getRoot()->findById(BindingDialog::UseButton)->isEnabled());
            QKeyEvent press(QEvent::KeyPress, Qt::Key_T, Qt::NoModifier);
            QCoreApplication::sendEvent(binding.getRoot()->getWidget(), &press);
        },
        [&] {
            EXPECT_EQ(binding.getRoot()->findById(BindingDialog::CandidateLabel)->getLabel(), "T");
        });
    EXPECT_EQ(binding.getRoot()->getLabel(), "Bind Tilt");
    EXPECT_EQ(part(1, Rows::BindingPart)->getLabel(), "T");
    EXPECT_EQ(part(0, Rows::BindingPart)->getLabel(), "[none]");
    EXPECT_EQ(binding.detector(), nullptr);
    EXPECT_EQ(mvk::qvn::core::TimerManager::service().runningCount(), 0);
}

TEST_F(InputConfigDlgTest, TheResponseCurveFollowsEachParameterAndMarksTheControl) {
    Instance* instance = make();
    auto* pan = bindPanToTheStick(instance);
    mvk::unidevice::DeviceHandler::instance()->updateAll(); // the stick rests at 0.25
    ASSERT_TRUE(dialog->open(instance));
    AdvancedSettingsDialog& advanced = dialog->propertyManager()->advancedDialog();
    std::vector<componentinterface::Graph::Point> curve;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        Component* root = advanced.getRoot();
        if (root == nullptr || !root->isShown())
            return;
        user.stop();
        EXPECT_EQ(root->getLabel(), "Advanced Settings for " + instance->getName() + "::Pan");
        auto* exponent = interfaceOf<componentinterface::Spinner>(
            root->findById(AdvancedSettingsDialog::ExponentSpinner));
        EXPECT_EQ(exponent->getValue(), 1.0);
        exponent->setValue(2.0);
        static_cast<StdComponent*>(root->findById(AdvancedSettingsDialog::ExponentSpinner))
            ->sendEvent(0x4201, 0);
        auto* graph = interfaceOf<componentinterface::Graph>(
            root->findById(AdvancedSettingsDialog::CurveGraph));
        for (int32_t i = 0; i < graph->getPointCount(0); ++i)
            curve.push_back(graph->getPoint(0, i));
        ASSERT_EQ(graph->getCurveCount(), 2);
        EXPECT_DOUBLE_EQ(graph->getPoint(1, 0).x, 0.25);
        click(root, AdvancedSettingsDialog::CloseButton);
    });
    user.start(10);
    click(Rows::RowBase + Rows::AdvancedPart);
    EXPECT_EQ(pan->exponent(), 2.0);
    ASSERT_EQ(curve.size(), size_t(AdvancedSettingsDialog::CurvePoints));
    // The drawn curve is the input's response: -1 .. 1 with the dead zone flat around rest.
    EXPECT_DOUBLE_EQ(curve.front().y, -1.0);
    EXPECT_DOUBLE_EQ(curve.back().y, 1.0);
    EXPECT_DOUBLE_EQ(curve[AdvancedSettingsDialog::CurvePoints / 2].y, 0.0);
    EXPECT_EQ(mvk::qvn::core::TimerManager::service().runningCount(), 0);
}

// The instance's own input window, with the instance destroyed by a timer while one of the
// window's modal steps runs: binding detection, advanced settings, the name prompt of "save as
// new" and the file dialogs of import and export. Each returns into a window that let go of the
// instance, which then goes once the event loop is back.
TEST_F(InputConfigDlgTest,
       AnInstanceDestroyedWhileItsInputWindowRunsAModalStepLeavesNothingBehind) {
    const int32_t bind = Rows::RowBase + Rows::BindPart;
    const int32_t tune = Rows::RowBase + Rows::AdvancedPart;
    for (const int32_t button :
         {bind, tune, int32_t(InputConfigDlg::SaveAsNewButton),
          int32_t(InputConfigDlg::ImportButton), int32_t(InputConfigDlg::ExportButton)}) {
        SCOPED_TRACE(button);
        Instance* instance = make();
        const std::string name = instance->getName();
        ASSERT_EQ(instance->showInputSettings(), 0);
        InputConfigDlg* window = instance->getInputSettings();
        ASSERT_NE(window, nullptr);
        const QPointer<QWidget> widget(window->getRoot()->getWidget());
        // As a plug-in's own destruction does it.
        const auto destroy = [instance] { instance->destroy(); };
        if (button == bind || button == tune)
            QTimer::singleShot(0, destroy);
        else
            script.whileNextQuestionIsUp(destroy);
        if (button == InputConfigDlg::SaveAsNewButton)
            script.pushText("Gone");
        else if (button != bind && button != tune)
            script.pushText(environment.root() + "/Gone.mip");
        click(window->getRoot(), button);
        ASSERT_EQ(core->findInstance(name), nullptr);
        EXPECT_FALSE(widget.isNull()) << "destroyed under its own running call";
        EXPECT_FALSE(widget->isVisible());
        EXPECT_EQ(mvk::qvn::core::TimerManager::service().runningCount(), 0);
        EXPECT_FALSE(rig->inputProfiles().hasElement("Gone"));
        mvk::gui::Toolkit::processEvents();
        EXPECT_TRUE(widget.isNull());
    }
}

// Deleting a profile leaves the box on a profile of the store, the one the instance then
// carries: the installed profile that the deleted copy hid, or else another one.
TEST_F(InputConfigDlgTest, DeletingAProfileLoadsTheOneTheBoxShowsNext) {
    Instance* instance = make();
    auto* pan = bindPanToTheStick(instance);
    ASSERT_TRUE(dialog->open(instance));
    auto* profiles = profileBox();
    const std::string installed = rig->inputProfiles().sourcePaths()[2];
    environment.writeFile(installed + "/studio.mip", "<profile name=\"Studio\"/>");
    rig->inputProfiles().reload();

    // The user's copy of the installed profile, bound to the stick.
    profiles->setCurrentText("Studio");
    script.pushButton(mvk::platform::MessageBoxFlag::Yes);
    click(InputConfigDlg::SaveButton);
    ASSERT_EQ(rig->inputProfiles().fileOf("Studio"),
              rig->inputProfiles().destinationPath() + "/Studio.mip");
    script.pushButton(mvk::platform::MessageBoxFlag::Yes);
    click(InputConfigDlg::DeleteButton);
    EXPECT_EQ(profiles->getCurrentText(), "Studio");
    EXPECT_EQ(instance->getInputProfileName(), "Studio");
    EXPECT_EQ(pan->control(), nullptr) << "the installed profile binds nothing";

    // The current profile deleted with no installed one behind it: the box shows another
    // profile, which is loaded, never the deleted name as typed text.
    script.pushText("Mine");
    click(InputConfigDlg::SaveAsNewButton);
    ASSERT_EQ(instance->getInputProfileName(), "Mine");
    script.pushButton(mvk::platform::MessageBoxFlag::Yes);
    click(InputConfigDlg::DeleteButton);
    EXPECT_FALSE(rig->inputProfiles().hasElement("Mine"));
    EXPECT_NE(profiles->getCurrentText(), "Mine");
    EXPECT_TRUE(rig->inputProfiles().hasElement(profiles->getCurrentText()));
    EXPECT_EQ(instance->getInputProfileName(), profiles->getCurrentText());
}

} // namespace
} // namespace qvn::test
