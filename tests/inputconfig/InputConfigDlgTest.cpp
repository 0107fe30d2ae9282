// The input settings dialog built from the shipped layout for an instance of a test tool, with
// the simulated game pad plugged in.
#include "core/libraries/InputProfileManager.h"
#include "core/windows/InputConfigDlg.h"
#include "gui/StdComponent.h"
#include "gui/componentinterface/ComboBox.h"
#include "gui/componentinterface/Label.h"
#include "gui/componentinterface/ListBox.h"
#include "instances/InstanceFixture.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"

#include <QWidget>

#include <cstdlib>
#include <filesystem>

namespace qvn::test {
namespace {

using namespace mvk::gui;

class InputConfigDlgTest : public InstanceFixture {
protected:
    void SetUp() override {
        std::filesystem::copy(TestEnvironment::stageRoot() + "/quorvane/data",
                              environment.installRoot() + "/quorvane/data",
                              std::filesystem::copy_options::recursive);
        setenv("QUORVANE_SIMULATED_GAMEPAD",
               environment.writeFile("pad.txt", "0 leftx 0.25\n").c_str(), 1);
        InstanceFixture::SetUp();
    }
    void TearDown() override {
        dialog.reset();
        InstanceFixture::TearDown();
        unsetenv("QUORVANE_SIMULATED_GAMEPAD");
    }
    Component* part(int32_t row, int32_t which) const {
        return dialog->getRoot()->findById(InputConfigDlg::RowBase +
                                           InputConfigDlg::RowStride * row + which);
    }
    void click(int32_t id) const {
        static_cast<StdComponent*>(dialog->getRoot()->findById(id))->sendEvent(0x4142, id);
    }

    std::unique_ptr<InputConfigDlg> dialog = std::make_unique<InputConfigDlg>();
};

TEST_F(InputConfigDlgTest, RowsShowEachInputsBindingAndFollowProfileCommands) {
    Instance* instance = make();
    mvk::util::xml::Element stick("<control device=\"Simulated Gamepad\" type=\"axis\" index=\"0\"/>");
    auto* pan = instance->getProperties()->property("Pan");
    pan->bind(mvk::unidevice::DeviceHandler::instance()->findControl(stick));
    ASSERT_NE(pan->control(), nullptr);
    ASSERT_TRUE(dialog->open(instance));
    EXPECT_EQ(dialog->getRoot()->getLabel(), "Inputs for " + instance->getName());
    EXPECT_EQ(part(0, InputConfigDlg::NamePart)->getLabel(), "Pan");
    EXPECT_EQ(part(0, InputConfigDlg::BindingPart)->getLabel(), "Simulated Gamepad: Left Stick X");
    EXPECT_EQ(interfaceOf<componentinterface::Label>(part(0, InputConfigDlg::IconPart))->getImage(),
              "[images]/icon_inputs_gamepad.png");
    EXPECT_EQ(part(1, InputConfigDlg::BindingPart)->getLabel(), "[none]");
    EXPECT_EQ(interfaceOf<componentinterface::Label>(part(1, InputConfigDlg::IconPart))->getImage(),
              "");
    auto* devices = interfaceOf<componentinterface::ListBox>(
        dialog->getRoot()->findById(InputConfigDlg::DeviceList));
    EXPECT_NE(devices->findItem("Simulated Gamepad"), -1);
    EXPECT_NE(devices->findItem("Keyboard"), -1);
    EXPECT_EQ(devices->findItem(instance->getName()), -1);
    EXPECT_EQ(devices->findItem("TrinaryEmulator"), -1);

    if (const char* folder = std::getenv("QVN_SCREENSHOT_DIR")) {
        QWidget* window = dialog->getRoot()->getWidget();
        window->grab().save(QString::fromStdString(std::string(folder) + "/inputs.png"));
    }

    // Saving under a new name lists it; loading a profile that unbinds redraws the rows.
    script.pushText("Stick");
    click(InputConfigDlg::SaveAsNewButton);
    auto* profiles = interfaceOf<componentinterface::ComboBox>(
        dialog->getRoot()->findById(InputConfigDlg::ProfileBox));
    EXPECT_NE(profiles->findItem("Stick"), -1);
    EXPECT_EQ(profiles->getCurrentText(), "Stick");
    instance->applyInputProfile(mvk::util::xml::Element("<profile name=\"Empty\"/>"));
    EXPECT_EQ(part(0, InputConfigDlg::BindingPart)->getLabel(), "[none]");
    click(InputConfigDlg::StartProfileButton);
    EXPECT_EQ(dialog->getRoot()->findById(InputConfigDlg::StatusLine)->getLabel(),
              "Start Profile saved");
}

} // namespace
} // namespace qvn::test
