#include "WindowTestSupport.h"

#include "core/windows/CountDownWindow.h"
#include "gui/componentinterface/Dialog.h"

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

} // namespace
