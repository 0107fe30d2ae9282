#include "EventRecorder.h"
#include "GuiFixture.h"

#include "gui/Toolkit.h"

#include <QApplication>
#include <QPushButton>
#include <QWidget>

namespace {

using namespace mvk::gui;
using guitest::build;
using guitest::EventRecorder;
using Event = std::pair<int32_t, int32_t>;

class ComponentTreeTest : public guitest::GuiTest {};

TEST_F(ComponentTreeTest, FindByIdSearchesLevelByLevelBeforeDescending) {
    auto dialog = build(R"(<dialog id="0">
        <list id="1"><label id="5" label="grandchild"/><label id="6"/></list>
        <border id="2"><label id="6" label="nested"/></border>
        <label id="5" label="child"/>
        <group id="3"><list id="4"><label id="8" label="deep"/></list></group>
    </dialog>)");
    ASSERT_NE(dialog, nullptr);
    // A direct child is met before any grandchild, whatever its position.
    EXPECT_EQ(dialog->findById(5)->getLabel(), "child");
    // Between grandchildren, the subtree of the earlier child wins.
    EXPECT_EQ(dialog->findById(6)->parent()->getId(), 1);
    EXPECT_EQ(dialog->findById(8)->getLabel(), "deep");
    // The component searched from is never compared itself.
    EXPECT_EQ(dialog->findById(0), nullptr);
    EXPECT_EQ(dialog->findById(99), nullptr);
}

TEST_F(ComponentTreeTest, PathAliasesResolveOwnFirstThenEachAncestor) {
    auto dialog = build(R"(<dialog><list><label id="1"/></list></dialog>)");
    Component* label = dialog->findById(1);
    dialog->setPathAlias("[images]", "/data/core/images");
    EXPECT_EQ(label->resolvePath("[images]/play.png"), "/data/core/images/play.png");

    label->setPathAlias("[images]", "/own");
    dialog->setPathAlias("[icons]", "/icons");
    EXPECT_EQ(label->resolvePath("[images]/a.png;[images]/b.png;[icons]/c.png"),
              "/own/a.png;/own/b.png;/icons/c.png");
    // A second registration replaces the path of the same alias.
    label->setPathAlias("[images]", "/other");
    EXPECT_EQ(label->resolvePath("[images]/a.png"), "/other/a.png");
    // An alias whose path contains the alias itself is replaced once per occurrence.
    dialog->setPathAlias("[x]", "[x][x]");
    EXPECT_EQ(dialog->resolvePath("[x]"), "[x][x]");
}

TEST_F(ComponentTreeTest, SubscribedOwnerReceivesEventsWithTheSendersId) {
    auto dialog = build(R"(<dialog id="10" width="200" height="100">
        <button id="11" label="Go" height="30"/><label id="12" height="20"/></dialog>)");
    EventRecorder owner;
    owner.subscribe(dialog.get());
    Component* button = dialog->findById(11);
    owner.subscribe(button);

    dialog->show();
    Toolkit::processEvents();
    EXPECT_TRUE(owner.received(Component::EventShowing, 10));
    EXPECT_TRUE(owner.received(Component::EventShown, 10));

    owner.events.clear();
    static_cast<QPushButton*>(button->getWidget())->click();
    EXPECT_EQ(owner.events, (std::vector<Event>{{0x4140, 11}, {0x4141, 11}, {0x4142, 11}}));

    owner.events.clear();
    dialog.reset();
    EXPECT_TRUE(owner.received(Component::EventDestroying, 11));
    EXPECT_TRUE(owner.received(Component::EventDestroying, 10));
}

TEST_F(ComponentTreeTest, HelpLineShowsTheTooltipOfTheComponentUnderTheMouse) {
    auto dialog = build(R"(<dialog><list tooltipid="50">
        <button id="1"><tooltip>Starts recording</tooltip></button></list>
        <button id="2"><tooltip>Plain tip</tooltip></button>
        <label id="50" label="idle"/></dialog>)");
    Component* help = dialog->findById(50);
    QWidget* helped = dialog->findById(1)->getWidget();
    QWidget* plain = dialog->findById(2)->getWidget();
    // A component that feeds the help line has no tooltip of its own.
    EXPECT_TRUE(helped->toolTip().isEmpty());
    EXPECT_EQ(plain->toolTip(), "Plain tip");

    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(helped, &enter);
    EXPECT_EQ(help->getLabel(), "Starts recording");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(helped, &leave);
    EXPECT_EQ(help->getLabel(), "");

    // Giving the list no help line hands the plain tooltip back to its children.
    dialog->child(0)->setTooltipId(-1);
    EXPECT_EQ(helped->toolTip(), "Starts recording");
}

} // namespace
