// The configuration window's unsaved mark follows the values, not the history of changes: values
// brought back to their stored profile (by the host's undo, or by typing the old value again)
// lose the mark, also when that happens while another instance is shown, and a change on a page
// kept aside for one instance never marks the instance shown.
#include "WindowTestSupport.h"

#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "core/libraries/ConfigProfileManager.h"
#include "core/windows/ConfigWindow.h"
#include "gui/Toolkit.h"

#include <QDoubleSpinBox>
#include <QTest>

using mvk::gui::Component;
using mvk::qvn::core::ConfigWindow;
using mvk::qvn::core::Instance;

namespace {

class ConfigWindowTitleTest : public qvn::test::AttachedCore {
protected:
    void SetUp() override {
        AttachedCore::SetUp();
        installSamplePlugins();
        attach();
        first = newCamera();
        second = newCamera();
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        window = implementation()->getConfigWindow();
        ASSERT_NE(window, nullptr);
    }

    Instance* newCamera() {
        auto* reference = implementation()->InstanceManager::createInstance("Orbit Camera", "");
        return reference != nullptr ? reference->getInstance() : nullptr;
    }
    // The orbit camera's field of view (element id 0) on the shown page, set as the user does.
    void setFieldOfView(double degrees) {
        Component* page = window->getRoot()->findById(ConfigWindow::PageArea)->child(0);
        auto* box = static_cast<QDoubleSpinBox*>(page->findById(0)->getWidget());
        box->setValue(degrees);
        QTest::keyClick(box, Qt::Key_Return);
    }
    void select(Instance* instance) {
        window->selectInstance(instance);
        mvk::gui::Toolkit::processEvents();
    }
    // The window's label, the title the user reads.
    std::string shownTitle() const { return window->getRoot()->getLabel(); }
    std::string titleOf(const Instance* instance, const std::string& mark = "") const {
        return "Configuration for " + instance->getName() + " - Start Profile" + mark;
    }

    Instance* first = nullptr;
    Instance* second = nullptr;
    ConfigWindow* window = nullptr;
};

TEST_F(ConfigWindowTitleTest, TheMarkGoesWhenUndoOrTheOldValueBringsTheProfileBack) {
    window->open(first);
    ASSERT_EQ(shownTitle(), titleOf(first));

    setFieldOfView(60);
    EXPECT_EQ(shownTitle(), titleOf(first, "*"));
    ASSERT_TRUE(host.undoStack.undo());
    EXPECT_EQ(shownTitle(), titleOf(first));
    EXPECT_FALSE(window->hasUnsavedChanges());
    ASSERT_TRUE(host.undoStack.redo());
    EXPECT_EQ(shownTitle(), titleOf(first, "*"));

    // Typing the stored value in again is the profile as well.
    setFieldOfView(45);
    EXPECT_EQ(shownTitle(), titleOf(first));

    // Two changes, one undone: the values still differ from the profile.
    setFieldOfView(50);
    setFieldOfView(55);
    ASSERT_TRUE(host.undoStack.undo());
    EXPECT_EQ(shownTitle(), titleOf(first, "*"));
    ASSERT_TRUE(host.undoStack.undo());
    EXPECT_EQ(shownTitle(), titleOf(first));
}

TEST_F(ConfigWindowTitleTest, AChangeUndoneWhileAnotherInstanceIsShownMarksNeither) {
    window->open(first);
    setFieldOfView(60);
    select(second);
    EXPECT_EQ(shownTitle(), titleOf(second)) << "the mark belongs to the instance changed";

    // The undo reaches the first instance through its page kept aside.
    ASSERT_TRUE(host.undoStack.undo());
    EXPECT_EQ(shownTitle(), titleOf(second));
    EXPECT_FALSE(window->hasUnsavedChanges());

    select(first);
    EXPECT_EQ(shownTitle(), titleOf(first));

    // A redo while the second is shown marks the first, which shows it when selected again.
    select(second);
    ASSERT_TRUE(host.undoStack.redo());
    EXPECT_EQ(shownTitle(), titleOf(second));
    select(first);
    EXPECT_EQ(shownTitle(), titleOf(first, "*"));
}

TEST_F(ConfigWindowTitleTest, AProfileReadBackFromItsFileIsComparedAsStored) {
    window->open(first);
    setFieldOfView(70);
    // The save button, as the user presses it, stores 70 and takes the mark away.
    Component* save = window->getRoot()->findById(103);
    ASSERT_NE(save, nullptr);
    userEvent(save, 0x4142, 103);
    ASSERT_EQ(shownTitle(), titleOf(first));

    // As in a later session, the store holds what its files say.
    first->getTool()->configProfilesOf(*first).reload();
    setFieldOfView(20);
    EXPECT_EQ(shownTitle(), titleOf(first, "*"));
    ASSERT_TRUE(host.undoStack.undo());
    EXPECT_EQ(shownTitle(), titleOf(first));
}

} // namespace
