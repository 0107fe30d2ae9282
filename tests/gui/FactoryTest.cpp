#include "GuiFixture.h"

#include "gui/LayoutGuard.h"
#include "util/Log.h"

#include <string>
#include <vector>

namespace {

using namespace mvk::gui;
using guitest::build;

// Counts the factories that were destroyed.
class CountingFactory : public ComponentFactory::Factory {
public:
    CountingFactory(const std::string& name, int& destroyed)
        : Factory(name), destroyed(destroyed) {}
    ~CountingFactory() override { ++destroyed; }
    Component* create(const mvk::util::xml::Element&) override { return nullptr; }

private:
    int& destroyed;
};

class FactoryTest : public guitest::GuiTest {};

TEST_F(FactoryTest, ADuplicateNameIsRefusedAndItsFactoryDestroyed) {
    int destroyed = 0;
    ComponentFactory* registry = ComponentFactory::instance();
    const int before = registry->factoryCount();
    EXPECT_FALSE(registry->add(new CountingFactory("label", destroyed)));
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(registry->factoryCount(), before);
    // The first "label" factory still builds labels.
    auto label = build("<label label=\"x\"/>");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getKindName(), "label");
}

TEST_F(FactoryTest, UnknownElementsCreateNothingAndContainersSkipThem) {
    EXPECT_EQ(build("<window/>"), nullptr);
    EXPECT_EQ(build(""), nullptr);
    auto list = build("<list><bogus id=\"1\"/><label id=\"2\"/>text<tooltip>t</tooltip></list>");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->childCount(), 1);
    EXPECT_EQ(list->child(0)->getId(), 2);
    EXPECT_FALSE(build(R"(<label><background type="radial"/></label>)")->hasBackground());
    // A text run that spells a kind's name is text, not an element.
    auto label = build("<list>dialog</list>");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->childCount(), 0);
}

TEST_F(FactoryTest, EveryDialogBuiltIsAnnouncedOnStandardOutput) {
    testing::internal::CaptureStdout();
    auto first = build("<dialog><list/></dialog>");
    auto second = build("<dialog/>");
    auto notADialog = build("<list/>");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Creating a dialog\nCreating a dialog\n");
}

// `count` copies of `open` followed by as many of `close`.
std::string repeated(const std::string& open, const std::string& close, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += open;
    for (int i = 0; i < count; ++i)
        text += close;
    return text;
}

TEST_F(FactoryTest, OversizedLayoutsAreRefusedWithALogLine) {
    const int depth = LayoutGuard::MaxDepth;
    const int components = LayoutGuard::MaxComponents;
    EXPECT_NE(build(repeated("<list>", "</list>", depth)), nullptr);
    const size_t logBefore = mvk::util::Log::instance()->text().size();
    EXPECT_EQ(build(repeated("<list>", "</list>", depth + 1)), nullptr);
    EXPECT_EQ(build("<list>" + repeated("<label/>", "", components) + "</list>"), nullptr);
    const std::string logged = mvk::util::Log::instance()->text().substr(logBefore);
    EXPECT_NE(logged.find("nested deeper than 256"), std::string::npos) << logged;
    EXPECT_NE(logged.find("more than 100000 components"), std::string::npos) << logged;
    // Menus and popups are built recursively as well, so their nesting counts too.
    EXPECT_EQ(build("<label>" + repeated("<popup>", "</popup>", depth) + "</label>"), nullptr);
    // Unknown elements do not count against the number of components: they create nothing.
    EXPECT_NE(build("<list>" + repeated("<x/>", "", components) + "</list>"), nullptr);
}

} // namespace
