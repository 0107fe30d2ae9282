#include "GuiFixture.h"

#include "gui/StdComponent.h"

#include <string>

namespace {

using namespace mvk::gui;
using guitest::build;
using mvk::util::xml::Element;

std::string written(const Component& component) {
    return component.writeXml().toString("", "", "");
}

class StandardAttributesTest : public guitest::GuiTest {};

TEST_F(StandardAttributesTest, DefaultsAndValuesAreWrittenBackOnlyUnderTheirConditions) {
    // "left" and "top" are always written, nothing else is.
    const Element bare = build("<label/>")->writeXml();
    EXPECT_EQ(bare.attributes().size(), 2u);
    EXPECT_EQ(bare.attribute("left"), "0");

    // Numbers are read leniently; the first tooltip and style count.
    auto set = build(R"(<label id="0" left=" 5px" top="-6" label="L" width="20" height="10"
        minwidth="3" maxheight="50" visible="no" enabled="false" tabstop="0" tooltipid="-2">
        <tooltip>T</tooltip><tooltip>second</tooltip><style>color: red;</style>
        <style>color: blue;</style><popup label="p"><item label="a" id="1"/></popup></label>)");
    EXPECT_EQ(set->getPosition(), (Point{5, -6}));
    EXPECT_EQ(set->getTooltip(), "T");
    EXPECT_EQ(dynamic_cast<StdComponent*>(set.get())->getStyleSheet(), "color: red;");
    const Element full = set->writeXml();
    EXPECT_EQ(full.attribute("left"), "5");
    EXPECT_EQ(full.attribute("desiredwidth"), "20");
    EXPECT_EQ(full.attribute("enabled"), "no");
    EXPECT_EQ(full.attributes().size(), 12u);
    EXPECT_EQ(full.child("tooltip").text(), "T");

    // Equal limits are written as "fixed", and the fixed direction drops its limits.
    const Element fixed =
        build(R"(<label width="30" minheight="4" fixed="horizontal"/>)")->writeXml();
    EXPECT_EQ(fixed.attribute("fixed"), "horizontal");
    EXPECT_FALSE(fixed.hasAttribute("minwidth"));
    EXPECT_FALSE(fixed.hasAttribute("maxwidth"));
    EXPECT_EQ(fixed.attribute("minheight"), "4");
}

TEST_F(StandardAttributesTest, SizesFollowTheOrderOfApplication) {
    struct Case {
        const char* attributes;
        Size desired, minimum, maximum;
    };
    const Case cases[] = {
        {R"(width="50" desiredwidth="70")", {70, 0}, {0, 0}, {0x4FFFFFFF, 0x4FFFFFFF}},
        // The maximum is not applied to the desired size.
        {R"(width="90" maxwidth="40")", {90, 0}, {0, 0}, {40, 0x4FFFFFFF}},
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

// Every kind written back builds the same tree: the second writing equals the first.
TEST_F(StandardAttributesTest, WrittenLayoutsBuildTheSameTreeAgain) {
    const char* layouts[] = {
        R"(<dialog id="1" label="Main" width="400" height="300" padding="12 8 12 8" icon="[images]/a.png"
            topmost="yes" titlebar="no" closebtn="no" minimizebtn="yes" maximizebtn="yes" modal="yes"/>)",
        R"(<list id="2" type="horizontal" padding="1 2 3 4" margin="5 6 7 8" style="thin"
            valign="bottom" halign="center" minwidth="10" maxheight="90"><label id="3"/></list>)",
        R"(<label wrap="no" selectable="yes" hyperlinks="yes" style="raised" valign="center"
            halign="right" imagepath="[images]/logo.png" tabstop="3">Body text</label>)",
        R"(<button img_default="[images]/d.png" img_pressed="[images]/p.png" img_hover="h.png"
            img_toggle_default="td.png" img_toggle_pressed="tp.png" img_toggle_hover="th.png"
            img_disabled="x.png" toggle="yes" flat="yes" flatcolor_default="1 2 3 4"
            flatcolor_pressed="5 6 7 8" flatcolor_hover="9 10 11 12"><label label="a"/>
            <label label="b"/></button>)",
        R"(<label id="4" left="3" top="-2" visible="no" enabled="no" tooltipid="7">
            <tooltip>Tip</tooltip><popup label="Menu"><item label="One" id="1"/><separator/>
            <popup label="Sub"><item label="Two"/></popup></popup><style>color: blue;</style>
            <background type="gradient-linear" startx="0.25" spread="mirror" coordinates="absolute">
            <color pos="0" r="10" g="20" b="30"/><color pos="1" r="200" a="128"/></background>
            </label>)",
        R"(<textbox editable="no" defaulttext="take_01"/>)",
        R"(<combobox editable="yes"><item>a</item><item label="ignored"/><item>c</item></combobox>)",
        R"(<spinner defaultvalue="0.25" min="-1" max="2" step="0.125" decimals="3" triggerlength="4"/>)",
        R"(<checkbox tristate="yes" defaultstate="undetermined" paintgroup="2" label="Loop"/>)",
        R"(<tree dragdrop="yes"><flag falseicon="f.png" trueicon="t.png" undeterminedicon="u.png"
            defaultstate="true"/><flag trueicon="skipped.png"/><flag falseicon="g.png"/></tree>)",
        R"(<flmbutton img_default="d.png" img_pressed="p.png" img_hover="h.png" delay="40"
            focusmarkercolor="1 2 3 4" label="Tools"><list><label/></list></flmbutton>)",
        R"(<graph boundary_left="-0.5" boundary_right="3" boundary_top="2" boundary_bottom="0">
            <curve r="1" g="2" b="3"><point x="0.1" y="0.25"/><point x="1e-3" y="-7"/></curve>
            <curve r="9"/></graph>)",
        R"(<menubar><menu label="File"><item label="Open" id="1"/><separator/>
            <menu label="Recent" grayed="yes"><item label="a.xml" id="2" grayed="yes"/></menu>
            </menu><menu label="Help"/></menubar>)",
    };
    for (const char* layout : layouts) {
        auto first = build(layout);
        ASSERT_NE(first, nullptr) << layout;
        const std::string once = written(*first);
        auto second = build(once);
        ASSERT_NE(second, nullptr) << once;
        EXPECT_EQ(written(*second), once) << layout;
    }
}

} // namespace
