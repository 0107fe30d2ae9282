#include "core/configadaptor/CheckBox.h"
#include "core/configadaptor/ComboBox.h"
#include "core/configadaptor/ProfileFormat.h"
#include "core/configadaptor/Root.h"
#include "core/configadaptor/Spinner.h"

#include <gtest/gtest.h>

using namespace mvk::qvn::core::configadaptor;
using mvk::util::xml::Element;

namespace {

const char* const OldProfile =
    "<profile name=\"Old\">"
    "<spinner name=\"Speed\">2.5</spinner>"
    "<check name=\"Loop\" id=\"7\">true</check>"
    "<check name=\"Snap\">True</check>"
    "<combo name=\"Mode\"><value>Fast</value></combo>"
    "<button name=\"More\"><text name=\"Title\"><value>Hello</value></text></button>"
    "<group name=\"Inner\"><spinner>4</spinner><check name=\"Flag\"/></group>"
    "<group name=\"Numbered\" id=\"3\"/>"
    "<slider name=\"Unknown\">9</slider>"
    "</profile>";

const char* const Converted = "<configprofile version=\"2.0\" name=\"Old\" converted=\"yes\">"
                              "<item id=\"0\" label=\"Speed\" type=\"generic\">2.5</item>"
                              "<item id=\"7\" label=\"Loop\" type=\"generic\">1</item>"
                              "<item id=\"1\" label=\"Snap\" type=\"generic\">0</item>"
                              "<item id=\"2\" label=\"Mode\" type=\"string\">Fast</item>"
                              "<item id=\"3\" label=\"Title\" type=\"string\">Hello</item>"
                              "<group label=\"Inner\">"
                              "<item id=\"4\" label=\"\" type=\"generic\">4</item>"
                              "<item id=\"5\" label=\"Flag\" type=\"generic\">0</item>"
                              "</group>"
                              "<group id=\"3\" label=\"Numbered\"/>"
                              "</configprofile>";

std::string flat(const Element& element) {
    return element.toString("", "", "");
}

TEST(ProfileConversionTest, TheOlderFormBecomesTheCurrentOneAndAnythingElseComesOutEmpty) {
    const Element old(OldProfile);
    EXPECT_EQ(flat(ProfileFormat::convertProfile(old)), Converted);
    EXPECT_EQ(flat(ProfileFormat::convertProfile(old)), Converted) << "ids restart at zero";
    // The old profile may be the first child of another version, but no later one.
    EXPECT_EQ(flat(ProfileFormat::convertProfile(
                  Element(std::string("<configprofile version=\"1.0\">") + OldProfile +
                          "<profile name=\"Ignored\"/></configprofile>"))),
              Converted);
    const struct {
        std::string input, output;
    } cases[] = {
        {std::string("<configprofile version=\"1.0\"><note/>") + OldProfile + "</configprofile>",
         "<configprofile version=\"2.0\" converted=\"yes\"/>"},
        {"<settings name=\"S\"><spinner>1</spinner></settings>",
         "<configprofile version=\"2.0\" name=\"S\" converted=\"yes\"/>"},
        {"<configprofile version=\"2.0\" name=\"N\"><item id=\"1\">3</item></configprofile>",
         "<configprofile version=\"2.0\" name=\"N\"><item id=\"1\">3</item></configprofile>"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(flat(ProfileFormat::convertProfile(Element(test.input))), test.output)
            << test.input;
}

TEST(ProfileConversionTest, OldValuesReachTheTreeAndANamelessOneOnlyAnElementWithoutLabel) {
    double speed = 0;
    bool snap = true;
    std::string mode;
    element::Root root;
    root.addChild(new element::Spinner(0, "Speed", "", &speed, 0, 10, 1, 1, nullptr));
    root.addChild(new element::CheckBox(1, "Snap", "", &snap, nullptr));
    root.addChild(new element::ComboBox(2, "Mode", "", &mode, {"Slow", "Fast"}, nullptr));
    root.readProfile(Element(OldProfile));
    EXPECT_EQ(speed, 2.5);
    EXPECT_FALSE(snap) << "only the exact lower-case word true is set";
    EXPECT_EQ(mode, "Fast");

    const Element nameless("<profile><spinner id=\"5\">7</spinner><check id=\"6\">true</check>"
                           "</profile>");
    for (const char* label : {"Speed", ""}) {
        double value = 1;
        bool loop = false;
        element::Root tree;
        tree.addChild(new element::Spinner(5, label, "", &value, 0, 10, 1, 1, nullptr));
        tree.addChild(new element::CheckBox(6, label, "", &loop, nullptr));
        tree.readProfile(nameless);
        const bool reached = *label == '\0';
        EXPECT_EQ(value, reached ? 7 : 1) << "label " << label;
        EXPECT_EQ(loop, reached) << "label " << label;
    }
}

TEST(ProfileConversionTest, DeepNestingConvertsWithoutExhaustingTheStack) {
    Element old = mvk::util::xml::Tag("profile");
    Element* inside = &old;
    for (int depth = 0; depth < 200000; ++depth)
        inside = &inside->addChild(mvk::util::xml::Tag(depth % 2 ? "button" : "group"));
    inside->addChild(mvk::util::xml::TagWithData("spinner", "1"));
    const Element converted = ProfileFormat::convertProfile(old);
    const Element* group = &converted.child(0);
    int groups = 0;
    while (group->name() == "group") {
        ++groups;
        group = &group->child(0);
    }
    EXPECT_EQ(groups, 100000);
    EXPECT_EQ(flat(*group), "<item id=\"0\" label=\"\" type=\"generic\">1</item>");
}

} // namespace
