#include "WindowTestSupport.h"

#include "core/windows/CountDownWindow.h"
#include "core/windows/SubComponent.h"
#include "gui/componentinterface/Dialog.h"

#include <filesystem>

using namespace mvk::qvn;

namespace {

using CountDownTest = qvn::test::AttachedCore;

TEST_F(CountDownTest, ShowsTheSecondsOnTopAndKeepsItsLayout) {
    attach();
    auto* window = new core::CountDownWindow();
    window->start(3);
    mvk::gui::Component* root = window->getRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(window->isWindowShown());
    auto* dialog = mvk::gui::interfaceOf<mvk::gui::componentinterface::Dialog>(root);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isTopmost());
    EXPECT_EQ(window->find(101)->getLabel(), "<font size=6><b>3</b></font>");
    window->update("2");
    EXPECT_EQ(window->find(101)->getLabel(), "<font size=6><b>2</b></font> ");
    window->hide();
    EXPECT_FALSE(window->isWindowShown());
    window->start(5);
    EXPECT_EQ(window->getRoot(), root);
    EXPECT_EQ(window->find(101)->getLabel(), "<font size=6><b>5</b></font>");
    window->destroy();
}

TEST_F(CountDownTest, WithoutItsLayoutEveryOperationDoesNothing) {
    std::filesystem::remove(layoutFile("qvn_countdown.xml"));
    attach();
    auto* window = new core::CountDownWindow();
    window->start(3);
    window->update("2");
    window->bringToFront();
    EXPECT_EQ(window->getRoot(), nullptr);
    EXPECT_FALSE(window->isWindowShown());
    window->hide();
    window->destroy();
}

class Part : public core::SubComponent {
public:
    explicit Part(int tag) : SubComponent("part"), tag(tag) {}
    bool attachTo(mvk::gui::Component*) override { return true; }
    int tag;
};

TEST(SubComponentTest, KindsAreMadeByTheFirstCreatorRegisteredUnderTheirName) {
    EXPECT_EQ(core::SubComponent::create("part"), nullptr);
    EXPECT_TRUE(core::SubComponent::registerKind("part", [] { return new Part(1); }));
    EXPECT_FALSE(core::SubComponent::registerKind("part", [] { return new Part(2); }));
    core::SubComponent* made = core::SubComponent::create("part");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(static_cast<Part*>(made)->tag, 1);
    made->destroy();
    core::SubComponent::unregisterKind("part");
    EXPECT_FALSE(core::SubComponent::isRegistered("part"));
}

} // namespace
