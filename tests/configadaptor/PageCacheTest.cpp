// Pages set aside and shown again, as the configuration window does when the user goes back to
// an instance: built by the real factories from trees bound to a tool's variables and shown in a
// window too small for them, so they scroll.
#include "core/configadaptor/PageCache.h"
#include "ConfigTestSupport.h"
#include "core/configadaptor/Spinner.h"
#include "core/configadaptor/TreeBuilder.h"
#include "gui/Component.h"
#include "gui/componentinterface/Spinner.h"

#include <QAbstractScrollArea>
#include <QPointer>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <array>

using namespace mvk::qvn::core::configadaptor;
using mvk::gui::Component;

namespace {

// A tool with more settings than the window shows at once.
struct TallTool {
    static constexpr int Settings = 40;
    std::array<double, Settings> values{};
    TreeBuilder tree;

    TallTool() {
        tree.beginConfig();
        tree.beginGroup("Motion", "");
        for (int i = 0; i < Settings; ++i)
            tree.add(new element::Spinner(tree.takeId(), "Setting " + std::to_string(i), "",
                                          &values[static_cast<size_t>(i)], 0, 100, 0.5, 1,
                                          nullptr));
        tree.endGroup();
    }
    Node* root() const { return tree.top(); }
};

class PageCacheTest : public qvn::test::ConfigTest {
protected:
    void SetUp() override {
        ConfigTest::SetUp();
        window = mvk::gui::ComponentFactory::instance()->create(mvk::util::xml::Element(
            R"(<dialog width="400" height="200"><list id="200"/></dialog>)"));
        window->show();
        area = window->findById(200);
    }
    void TearDown() override {
        cache.clear();
        window->destroy();
        ConfigTest::TearDown();
    }

    // The tool's page, taken back from the cache or built, shown in the window.
    Component* show(TallTool& tool) {
        Component* page = cache.take(&tool, tool.root());
        if (page == nullptr)
            page = tool.root()->buildPage();
        area->addChild(page);
        page->show();
        mvk::gui::Toolkit::processEvents();
        return page;
    }
    // The value the tool's one page shows for its setting `index`.
    static double shown(const TallTool& tool, int index) {
        const Node* element = tool.root()->child(0)->child(index);
        Component* row = element->boundPage(0);
        return mvk::gui::interfaceOf<mvk::gui::componentinterface::Spinner>(
                   row->findById(element->getId()))
            ->getValue();
    }
    static QScrollBar* scrollBar(Component* page) {
        return qobject_cast<QAbstractScrollArea*>(page->getWidget())->verticalScrollBar();
    }

    PageCache cache{1};
    Component* window = nullptr;
    Component* area = nullptr;
};

TEST_F(PageCacheTest, APageTakenBackShowsTheValuesOfNowFromTheTop) {
    TallTool tool;
    Component* page = show(tool);
    ASSERT_GT(scrollBar(page)->maximum(), 0) << "the page must be taller than the window";
    scrollBar(page)->setValue(scrollBar(page)->maximum());

    cache.keep(&tool, tool.root(), page);
    EXPECT_EQ(area->childCount(), 0);
    EXPECT_FALSE(page->getWidget()->isVisible());
    // The tool writes its variables itself; no element hears of it.
    tool.values[0] = 7;
    tool.values[39] = 42.5;

    ASSERT_EQ(show(tool), page);
    EXPECT_EQ(shown(tool, 0), 7.0);
    EXPECT_EQ(shown(tool, 39), 42.5);
    EXPECT_EQ(scrollBar(page)->value(), 0);
    EXPECT_EQ(cache.take(&tool, tool.root()), nullptr) << "a page is handed back once";
    page->destroy();
}

TEST_F(PageCacheTest, OnlyThePageShownLastIsKeptAndATreeThatChangedIsBuiltAnew) {
    TallTool first, second, third;
    Component* firstPage = show(first);
    cache.keep(&first, first.root(), firstPage);
    Component* secondPage = show(second);

    // Back and forth between two instances: each finds its page.
    cache.keep(&second, second.root(), secondPage);
    EXPECT_EQ(show(first), firstPage);
    cache.keep(&first, first.root(), firstPage);
    EXPECT_EQ(show(second), secondPage);

    // A third instance: the page shown longest ago goes.
    cache.keep(&second, second.root(), secondPage);
    const QPointer<QWidget> firstWidget = firstPage->getWidget();
    const QPointer<QWidget> secondWidget = secondPage->getWidget();
    Component* thirdPage = show(third);
    EXPECT_TRUE(firstWidget.isNull());
    EXPECT_FALSE(secondWidget.isNull());
    EXPECT_EQ(first.root()->boundPageCount(), 0) << "a destroyed page is unbound";

    // The second tool gains a setting while its page is away: its page is built again, with it.
    cache.keep(&third, third.root(), thirdPage);
    double added = 3;
    second.tree.add(
        new element::Spinner(second.tree.takeId(), "Added", "", &added, 0, 10, 1, 1, nullptr));
    Component* rebuilt = show(second);
    EXPECT_TRUE(secondWidget.isNull());
    EXPECT_EQ(rebuilt->child(0)->childCount(), 2);

    // An instance that goes takes its kept page with it.
    const QPointer<QWidget> thirdWidget = thirdPage->getWidget();
    cache.forget(&third);
    EXPECT_TRUE(thirdWidget.isNull());
    rebuilt->destroy();
}

} // namespace
