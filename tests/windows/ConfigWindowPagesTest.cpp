// Going back and forth between instances in the configuration window: the page of the instance
// shown before is kept, so what matters is that a page shown again is the page the user would
// get from a fresh build: the values the instance holds now, the same look, one undo step per
// change, and nothing left behind when its instance goes.
#include "WindowTestSupport.h"

#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "core/windows/ConfigWindow.h"
#include "gui/Toolkit.h"
#include "gui/componentinterface/Spinner.h"

#include <QDoubleSpinBox>
#include <QPointer>
#include <QTest>

#include <map>

using mvk::gui::Component;
using mvk::qvn::core::ConfigWindow;
using mvk::qvn::core::Instance;
namespace ci = mvk::gui::componentinterface;

namespace {

class ConfigWindowPagesTest : public qvn::test::AttachedCore {
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
    Component* pageArea() const { return window->getRoot()->findById(ConfigWindow::PageArea); }
    Component* shownPage() const { return pageArea()->child(0); }
    // The control of the orbit camera's field of view (element id 0) on the shown page.
    QDoubleSpinBox* fieldOfView() const {
        Component* control = shownPage() != nullptr ? shownPage()->findById(0) : nullptr;
        return control != nullptr ? static_cast<QDoubleSpinBox*>(control->getWidget()) : nullptr;
    }
    void setFieldOfView(double degrees) {
        fieldOfView()->setValue(degrees);
        QTest::keyClick(fieldOfView(), Qt::Key_Return);
    }
    void select(Instance* instance) {
        window->selectInstance(instance);
        mvk::gui::Toolkit::processEvents();
    }
    // Where every widget of the shown page sits, and how wide it may grow, by object.
    std::map<const QWidget*, std::pair<QRect, int>> pageGeometry() const {
        std::map<const QWidget*, std::pair<QRect, int>> geometry;
        QWidget* page = shownPage()->getWidget();
        for (const QWidget* widget : page->findChildren<QWidget*>())
            if (widget->isVisibleTo(page))
                geometry[widget] = {QRect(widget->mapTo(page, QPoint(0, 0)), widget->size()),
                                    widget->maximumWidth()};
        return geometry;
    }

    Instance* first = nullptr;
    Instance* second = nullptr;
    ConfigWindow* window = nullptr;
};

TEST_F(ConfigWindowPagesTest, APageShownAgainHoldsTheInstancesValuesAndEachChangeIsOneStep) {
    window->open(first);
    setFieldOfView(60);
    const int steps = host.undoStack.stepCount();

    select(second);
    EXPECT_EQ(fieldOfView()->value(), 45.0) << "the other instance has its own values";
    EXPECT_EQ(pageArea()->childCount(), 1) << "only the shown page hangs in the window";
    // Undone while its page is away: the page must not come back with the undone value.
    ASSERT_TRUE(host.undoStack.undo());

    select(first);
    EXPECT_EQ(pageArea()->childCount(), 1);
    EXPECT_EQ(fieldOfView()->value(), 45.0);
    EXPECT_EQ(window->title().rfind("Configuration for " + first->getName(), 0), 0u);

    // A change on the page shown again is one host step, and it reaches this instance only.
    setFieldOfView(80);
    EXPECT_EQ(host.undoStack.stepCount(), steps);
    select(second);
    EXPECT_EQ(fieldOfView()->value(), 45.0);
    select(first);
    EXPECT_EQ(fieldOfView()->value(), 80.0);
    EXPECT_EQ(mvk::gui::interfaceOf<ci::Spinner>(shownPage()->findById(0))->getValue(), 80.0);
}

TEST_F(ConfigWindowPagesTest, APageShownAgainLooksAsWhenItWasFirstShown) {
    window->open(first);
    mvk::gui::Toolkit::processEvents();
    const auto built = pageGeometry();
    ASSERT_FALSE(built.empty());

    select(second);
    select(first);
    EXPECT_EQ(pageGeometry(), built);

    // Closing the window and opening it again shows every box again; the page keeps its look.
    const QSize windowSize = window->getRoot()->getWidget()->size();
    window->hideWindow();
    window->open(first);
    // Placement may give the window another size; at the same size the page looks the same.
    window->getRoot()->getWidget()->resize(windowSize);
    mvk::gui::Toolkit::processEvents();
    EXPECT_EQ(pageGeometry(), built);
}

TEST_F(ConfigWindowPagesTest, AnInstanceThatGoesTakesItsKeptPageWithIt) {
    window->open(first);
    const QPointer<QWidget> firstPage = shownPage()->getWidget();
    select(second);
    ASSERT_FALSE(firstPage.isNull()) << "the page of the instance shown before is kept";

    // Deleted from the tool tree, the instance lives on in its undo step; it goes with the step.
    first->getReference()->deleteReference(true);
    implementation()->refreshTree();
    host.undoStack.clear();
    mvk::gui::Toolkit::processEvents();
    EXPECT_TRUE(firstPage.isNull());

    // A new instance gets a page of its own, with its own values.
    Instance* third = newCamera();
    ASSERT_NE(third, nullptr);
    select(third);
    EXPECT_NE(shownPage()->getWidget(), firstPage.data());
    EXPECT_EQ(fieldOfView()->value(), 45.0);
    setFieldOfView(30);
    select(second);
    EXPECT_EQ(fieldOfView()->value(), 45.0);
}

} // namespace
