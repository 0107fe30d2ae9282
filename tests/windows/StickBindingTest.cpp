// The sample orbit camera's stick inputs bound from the keyboard as a person does it: one key is
// not enough to turn the camera both ways, so the binding window asks for a second key and the
// two become one axis; the advanced settings then follow those keys live on the response curve.
#include "WindowTestSupport.h"

#include "core/recording/TimerManager.h"
#include "core/windows/AdvancedSettingsDialog.h"
#include "core/windows/BindingDialog.h"
#include "core/windows/ControlDetector.h"
#include "core/windows/InputConfigDlg.h"
#include "core/windows/PropertyManager.h"
#include "gui/componentinterface/Graph.h"
#include "gui/componentinterface/Label.h"
#include "unidevice/Control.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>

#include <functional>

namespace {

using mvk::gui::Component;
using mvk::qvn::core::AdvancedSettingsDialog;
using mvk::qvn::core::BindingDialog;
using mvk::qvn::core::ControlDetector;
using Rows = mvk::qvn::core::InputConfigDlg::PropertyManager;

class StickBindingTest : public qvn::test::AttachedCore {
protected:
    void SetUp() override {
        AttachedCore::SetUp();
        installSamplePlugins();
        attach();
        camera = implementation()->InstanceManager::createInstance("Orbit Camera", "");
        ASSERT_NE(camera, nullptr);
        ASSERT_EQ(camera->getInstance()->showInputSettings(), 0);
        inputs = window("Inputs for " + camera->getName());
        ASSERT_NE(inputs, nullptr);
    }
    void TearDown() override {
        for (int pressed : held)
            key(QEvent::KeyRelease, pressed);
        AttachedCore::TearDown();
    }
    // The visible core window with that title, as its root component.
    static Component* window(const std::string& title) {
        return dynamic_cast<Component*>(shownWindow(title));
    }
    static std::string text(Component* root, int32_t id) {
        Component* component = root != nullptr ? root->findById(id) : nullptr;
        return component != nullptr ? component->getLabel() : std::string();
    }
    void key(QEvent::Type type, int code) {
        QKeyEvent event(type, code, Qt::NoModifier, QKeySequence(code).toString());
        QWidget* focus = QApplication::activeModalWidget();
        QCoreApplication::sendEvent(focus != nullptr ? focus : inputs->getWidget(), &event);
        if (type == QEvent::KeyPress)
            held.push_back(code);
        else
            std::erase(held, code);
    }
    // Clicks the button of input `row`'s part and plays the user with `step` while the window it
    // opens runs modally; a step answers true when the user is done. Gives up after 5 s.
    void runModal(int row, int32_t part, const std::function<bool()>& step) {
        QElapsedTimer clock;
        clock.start();
        bool done = false;
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            if (!done && step())
                done = true;
            if (clock.elapsed() > 5000) {
                ADD_FAILURE() << "the modal window was still waiting";
                for (QWidget* widget : QApplication::topLevelWidgets())
                    if (widget->isModal() && widget->isVisible())
                        widget->close();
            }
        });
        user.start(5);
        clickButton(inputs, Rows::RowBase + Rows::RowStride * row + part);
    }
    mvk::unidevice::Property* pan() const {
        return camera->getInstance()->getProperties()->property("Pan");
    }

    mvk::qvn::core::InstanceReference* camera = nullptr;
    Component* inputs = nullptr;
    std::vector<int> held;
};

TEST_F(StickBindingTest, OneKeyAsksForASecondAndTheTwoTurnPanBothWaysOnTheCurve) {
    // The row says what the input takes before anything is pressed.
    EXPECT_NE(inputs->findById(Rows::RowBase + Rows::BindPart)->getTooltip().find("two keys"),
              std::string::npos);
    bool askedForAnother = false;
    std::string offered;
    runModal(0, Rows::BindPart, [&] {
        Component* bind = window("Bind Pan");
        const std::string instruction = text(bind, BindingDialog::InstructionLabel);
        if (instruction == ControlDetector::PressText && held.empty()) {
            key(QEvent::KeyPress, Qt::Key_J);
        } else if (instruction == ControlDetector::AnotherText && !askedForAnother) {
            askedForAnother = true;
            key(QEvent::KeyRelease, Qt::Key_J);
        } else if (instruction == ControlDetector::AnotherText && held.empty()) {
            key(QEvent::KeyPress, Qt::Key_K);
        } else if (instruction == ControlDetector::ConfirmText) {
            offered = text(bind, BindingDialog::CandidateLabel);
            key(QEvent::KeyRelease, Qt::Key_K);
            clickButton(bind, BindingDialog::UseButton);
            return true;
        }
        return false;
    });
    EXPECT_TRUE(askedForAnother);
    ASSERT_NE(pan()->control(), nullptr);
    // One control that goes both ways, named after both keys.
    EXPECT_NE(pan()->control()->kind() & 2u, 0u);
    EXPECT_NE(offered.find('J'), std::string::npos) << offered;
    EXPECT_NE(offered.find('K'), std::string::npos) << offered;
    EXPECT_EQ(text(inputs, Rows::RowBase + Rows::BindingPart), offered);
    // The row's icon is the keyboard's, the device the two keys come from.
    auto* icon = mvk::gui::interfaceOf<mvk::gui::componentinterface::Label>(
        inputs->findById(Rows::RowBase + Rows::IconPart));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->getImage(), "[images]/icon_inputs_keyboard.png");

    // The marker on the curve is where the keys put the control, as they are pressed: the first
    // key is the positive direction.
    std::vector<double> marks;
    int phase = 0;
    runModal(0, Rows::AdvancedPart, [&] {
        Component* advanced = window("Advanced Settings for " + camera->getName() + "::Pan");
        auto* graph = mvk::gui::interfaceOf<mvk::gui::componentinterface::Graph>(
            advanced ? advanced->findById(AdvancedSettingsDialog::CurveGraph) : nullptr);
        if (graph == nullptr || graph->getCurveCount() < 2)
            return false;
        const double mark = graph->getPoint(1, 0).x;
        if (phase == 0 && mark == 0.0) {
            marks.push_back(mark);
            key(QEvent::KeyPress, Qt::Key_J);
            phase = 1;
        } else if (phase == 1 && mark != 0.0) {
            marks.push_back(mark);
            key(QEvent::KeyRelease, Qt::Key_J);
            key(QEvent::KeyPress, Qt::Key_K);
            phase = 2;
        } else if (phase == 2 && mark < 0.0) {
            marks.push_back(mark);
            key(QEvent::KeyRelease, Qt::Key_K);
            clickButton(advanced, AdvancedSettingsDialog::CloseButton);
            return true;
        }
        return false;
    });
    EXPECT_EQ(marks, (std::vector<double>{0.0, 1.0, -1.0}));
    EXPECT_EQ(mvk::qvn::core::TimerManager::service().runningCount(), 0);
}

} // namespace
