#include "GuiFixture.h"

#include "gui/StdComponent.h"
#include "gui/componentinterface/List.h"

#include <functional>

namespace {

using namespace mvk::gui;
using guitest::build;

class StandardAttributesTest : public guitest::GuiTest {};

TEST_F(StandardAttributesTest, EachAttributeHasItsDefaultAndTakesAValue) {
    auto plain = build("<label/>");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->getId(), -1);
    EXPECT_EQ(plain->getPosition(), (Point{0, 0}));
    EXPECT_EQ(plain->getDesiredSize(), (Size{0, 0}));
    EXPECT_EQ(plain->getSize(), (Size{0, 0}));
    EXPECT_EQ(plain->getMinimumSize(), (Size{0, 0}));
    EXPECT_EQ(plain->getMaximumSize(), (Size{0x4FFFFFFF, 0x4FFFFFFF}));
    EXPECT_TRUE(plain->isVisible());
    EXPECT_TRUE(plain->isEnabled());
    EXPECT_EQ(plain->getLabel(), "");
    EXPECT_EQ(plain->getTabstop(), -1);
    EXPECT_EQ(plain->getTooltipId(), -1);
    EXPECT_EQ(plain->getTooltip(), "");
    EXPECT_FALSE(plain->hasPopup());
    EXPECT_FALSE(plain->hasBackground());
    EXPECT_FALSE(plain->isShown());

    auto set = build(R"(<label id="7" left=" 12px" top="-3" width="80" height="20" minwidth="10"
        minheight="5" maxwidth="300" maxheight="40" visible="false" enabled="no" label="Name"
        tabstop="2" tooltipid="9"><tooltip>first</tooltip><tooltip>second</tooltip>
        <style>color: red;</style><popup label="p"><item label="a" id="1"/></popup></label>)");
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->getId(), 7);
    EXPECT_EQ(set->getPosition(), (Point{12, -3}));
    EXPECT_EQ(set->getDesiredSize(), (Size{80, 20}));
    EXPECT_EQ(set->getSize(), (Size{80, 20}));
    EXPECT_EQ(set->getMinimumSize(), (Size{10, 5}));
    EXPECT_EQ(set->getMaximumSize(), (Size{300, 40}));
    EXPECT_FALSE(set->isVisible());
    EXPECT_FALSE(set->isEnabled());
    EXPECT_EQ(set->getLabel(), "Name");
    EXPECT_EQ(set->getTabstop(), 2);
    EXPECT_EQ(set->getTooltipId(), 9);
    EXPECT_EQ(set->getTooltip(), "first");
    EXPECT_EQ(dynamic_cast<StdComponent*>(set.get())->getStyleSheet(), "color: red;");
    EXPECT_EQ(set->getPopup().attribute("label"), "p");
}

TEST_F(StandardAttributesTest, SizesFollowTheOrderOfApplication) {
    struct Case {
        const char* attributes;
        Size desired, minimum, maximum;
    };
    const Case cases[] = {
        {R"(width="50" desiredwidth="70")", {70, 0}, {0, 0}, {0x4FFFFFFF, 0x4FFFFFFF}},
        {R"(desiredwidth="30" minwidth="45" height="9")",
         {45, 9},
         {45, 0},
         {0x4FFFFFFF, 0x4FFFFFFF}},
        // The maximum is not applied to the desired size.
        {R"(width="90" maxwidth="40")", {90, 0}, {0, 0}, {40, 0x4FFFFFFF}},
        {R"(fixed="horizontal" desiredwidth="120" height="30")",
         {120, 30},
         {120, 0},
         {120, 0x4FFFFFFF}},
        {R"(fixed="yes" width="20" height="25")", {20, 25}, {20, 25}, {20, 25}},
        {R"(fixed="vertical" width="20" height="25")", {20, 25}, {0, 25}, {0x4FFFFFFF, 25}},
        {R"(width="abc" height="" minwidth="x1")", {0, 0}, {0, 0}, {0x4FFFFFFF, 0x4FFFFFFF}},
        // Absurd values are clamped rather than handed to the window system.
        {R"(width="2000000000" height="-50" maxwidth="-4")", {8192, 0}, {0, 0}, {0, 0x4FFFFFFF}},
    };
    for (const Case& c : cases) {
        auto label = build(std::string("<label ") + c.attributes + "/>");
        ASSERT_NE(label, nullptr) << c.attributes;
        EXPECT_EQ(label->getDesiredSize(), c.desired) << c.attributes;
        EXPECT_EQ(label->getSize(), c.desired) << c.attributes;
        EXPECT_EQ(label->getMinimumSize(), c.minimum) << c.attributes;
        EXPECT_EQ(label->getMaximumSize(), c.maximum) << c.attributes;
    }
}

TEST_F(StandardAttributesTest, OnlyTheFixedWordsChangeFlags) {
    EXPECT_FALSE(build(R"(<label visible="no"/>)")->isVisible());
    EXPECT_FALSE(build(R"(<label visible="false"/>)")->isVisible());
    EXPECT_TRUE(build(R"(<label visible="0"/>)")->isVisible());
    EXPECT_TRUE(build(R"(<label visible="No"/>)")->isVisible());
    EXPECT_FALSE(build(R"(<label enabled="false"/>)")->isEnabled());
    EXPECT_TRUE(build(R"(<label enabled="off"/>)")->isEnabled());
}

TEST_F(StandardAttributesTest, ContainerSidesAreOverriddenOneByOne) {
    using componentinterface::Box;
    auto list = build(R"(<list padding="1 2 3 4" padding-top="9" margin="5 6"/>)");
    auto* box = interfaceOf<componentinterface::List>(list.get());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->getPadding(Box::Left), 1);
    EXPECT_EQ(box->getPadding(Box::Top), 9);
    EXPECT_EQ(box->getPadding(Box::Right), 3);
    EXPECT_EQ(box->getPadding(Box::Bottom), 4);
    EXPECT_TRUE(box->isVertical());
    EXPECT_EQ(box->getStyle(), componentinterface::FrameStyle::None);
    // An incomplete margin keeps the sides it does not reach.
    const auto written = list->writeXml();
    EXPECT_EQ(written.attribute("margin"), "5 6 0 0");
    EXPECT_EQ(written.attribute("padding"), "1 9 3 4");

    auto horizontal = build(R"(<list type="horizontal" style="sunken" valign="center"
                                halign="right"/>)");
    auto* row = interfaceOf<componentinterface::List>(horizontal.get());
    EXPECT_FALSE(row->isVertical());
    EXPECT_EQ(row->getStyle(), componentinterface::FrameStyle::Sunken);
    EXPECT_EQ(row->getValign(), Box::Alignment::Center);
    EXPECT_EQ(row->getHalign(), Box::Alignment::Right);
}

} // namespace
