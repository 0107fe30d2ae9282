#include "ConfigTestSupport.h"
#include "core/configadaptor/Button.h"
#include "core/configadaptor/CheckBox.h"
#include "core/configadaptor/ComboBox.h"
#include "core/configadaptor/Label.h"
#include "core/configadaptor/MainConfig.h"
#include "core/configadaptor/Spinner.h"
#include "core/configadaptor/Spinner_Int.h"
#include "core/configadaptor/TextBox.h"
#include "core/configadaptor/TreeBuilder.h"
#include "util/DataChunk.h"

#include <gmock/gmock.h>

#include <cstring>
#include <limits>
#include <memory>

using namespace mvk::qvn::core::configadaptor;
using mvk::util::xml::Element;

namespace {

uint64_t bits(double value) {
    uint64_t result = 0;
    std::memcpy(&result, &value, sizeof value);
    return result;
}

double fromBits(uint64_t pattern) {
    double result = 0;
    std::memcpy(&result, &pattern, sizeof result);
    return result;
}

// The bound variables of a tool, and its tree with one element of every kind, groups nested two
// deep:  root { Speed, Ratio, General { Count, Loop, Note, Reset, Detail { Mode, Title, Tiny } } }
struct Tool {
    static constexpr int Spinners = 3;
    double speed = 0.1;
    double ratio = -0.0;
    double tiny = 1e-300;
    int32_t count = -7;
    bool loop = true;
    std::string mode = "Fast";
    std::string title = "a <b> & \"c\" 'd'";

    TreeBuilder builder;
    element::Root* root = nullptr;

    explicit Tool(Node::Callback* callback = nullptr) {
        root = builder.beginConfig();
        builder.add(
            new element::Spinner(builder.takeId(), "Speed", "", &speed, 0, 1, 0.1, 1, callback));
        builder.add(
            new element::Spinner(builder.takeId(), "Ratio", "", &ratio, -1, 1, 0.1, 1, callback));
        builder.beginGroup("General", "Things");
        builder.add(
            new element::Spinner_Int(builder.takeId(), "Count", "", &count, -9, 9, 1, 1, callback));
        builder.add(new element::CheckBox(builder.takeId(), "Loop", "", &loop, callback));
        builder.add(new element::Label(builder.takeId(), "Note", 20, callback));
        builder.add(new element::Button(builder.takeId(), "Reset", "", callback));
        builder.beginGroup("Detail", "");
        builder.add(
            new element::ComboBox(builder.takeId(), "Mode", "", &mode, {"Slow", "Fast"}, callback));
        builder.add(new element::TextBox(builder.takeId(), "Title", "", &title, callback));
        builder.add(
            new element::Spinner(builder.takeId(), "Tiny", "", &tiny, 0, 1, 0.1, 1, callback));
        builder.endGroup();
        builder.endGroup();
        builder.add(new element::MainConfig());
    }

    void scramble() {
        speed = ratio = tiny = 42.0;
        count = 42;
        loop = false;
        mode = title = "scrambled";
    }
};

// Through text, as a profile file would carry it.
Element throughText(const Element& profile) {
    return Element(profile.toString("\n", "\t", ""));
}

TEST(ProfileTest, WritingThenReadingRestoresEveryValueExactly) {
    const double values[][3] = {
        {0.1, -0.0, 1e-300},
        {std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max(), -1.0 / 3},
        {std::numeric_limits<double>::infinity(), fromBits(0x7ff8'0000'dead'beefULL), 1e308},
    };
    for (const auto& set : values) {
        Tool tool;
        tool.speed = set[0];
        tool.ratio = set[1];
        tool.tiny = set[2];
        const Element profile = throughText(tool.root->writeProfile());
        tool.scramble();
        tool.root->readProfile(profile);
        EXPECT_EQ(bits(tool.speed), bits(set[0]));
        EXPECT_EQ(bits(tool.ratio), bits(set[1]));
        EXPECT_EQ(bits(tool.tiny), bits(set[2]));
        EXPECT_EQ(tool.count, -7);
        EXPECT_TRUE(tool.loop);
        EXPECT_EQ(tool.mode, "Fast");
        EXPECT_EQ(tool.title, "a <b> & \"c\" 'd'");
    }
}

TEST(ProfileTest, TheWrittenFormHasOneEntryPerStoredValueInTreeOrder) {
    Tool tool;
    auto blob = [](double value) {
        return mvk::util::DataChunk::base64Encode(&value, sizeof value);
    };
    EXPECT_EQ(tool.root->writeProfile().toString("", "", ""),
              "<configprofile version=\"2.0\">"
              "<item id=\"0\" label=\"Speed\" type=\"blob\">" +
                  blob(0.1) +
                  "</item>"
                  "<item id=\"1\" label=\"Ratio\" type=\"blob\">AAAAAAAAAIA=</item>"
                  "<group id=\"-1\" label=\"General\">"
                  "<item id=\"2\" label=\"Count\">-7</item>"
                  "<item id=\"3\" label=\"Loop\">1</item>"
                  "<group id=\"-1\" label=\"Detail\">"
                  "<item id=\"6\" label=\"Mode\" type=\"text\">Fast</item>"
                  "<item id=\"7\" label=\"Title\" type=\"text\">" +
                  mvk::util::xml::escape(tool.title) +
                  "</item>"
                  "<item id=\"8\" label=\"Tiny\" type=\"blob\">" +
                  blob(1e-300) +
                  "</item>"
                  "</group></group></configprofile>");
}

// A tree of two elements in a group, reading the given items inside a current profile.
struct SmallTool {
    int32_t count = 1;
    std::string title = "old";
    element::Root root;
    SmallTool() {
        auto* group = new element::Group("G", "");
        root.addChild(group);
        group->addChild(new element::Spinner_Int(3, "Count", "", &count, 0, 9, 1, 1, nullptr));
        group->addChild(new element::TextBox(4, "Title", "", &title, nullptr));
    }
    void read(const std::string& groupContent) {
        root.readProfile(Element("<configprofile version=\"2.0\"><group>" + groupContent +
                                 "</group></configprofile>"));
    }
};

TEST(ProfileMatchTest, ItemsMatchByIdAndByLabelWhenTheyCarryOne) {
    SmallTool tool;
    tool.read("<item id=\"3\" label=\"Other\">5</item><item id=\"4\" label=\"title\" "
              "type=\"text\">x</item>");
    EXPECT_EQ(tool.count, 1) << "the right id with another label";
    EXPECT_EQ(tool.title, "old") << "labels compare exactly";

    tool.read("<item id=\"3\">5</item><item id=\"3\" label=\"Count\">6</item>");
    EXPECT_EQ(tool.count, 5) << "an item without label matches by id alone; the first match wins";

    tool.read("<item id=\"03\" label=\"Count\">7</item>");
    EXPECT_EQ(tool.count, 7) << "ids are decimal numbers, not texts";
    tool.read("<item id=\"3x\" label=\"Count\">8</item><item label=\"Count\">8</item>");
    EXPECT_EQ(tool.count, 7) << "a malformed or missing id matches no value element";
}

TEST(ProfileMatchTest, EachKindTakesOnlyTheItemTypesItAccepts) {
    Tool tool;
    auto read = [&](const std::string& items) {
        tool.root->readProfile(Element("<configprofile version=\"2.0\">" + items + "<group>" +
                                       items + "<group>" + items +
                                       "</group></group></configprofile>"));
    };
    read("<item id=\"0\" type=\"generic\">0.25</item><item id=\"1\"> -2e3 </item>"
         "<item id=\"2\" type=\"generic\">12</item><item id=\"3\">0</item>"
         "<item id=\"6\" type=\"string\">Slow</item><item id=\"7\" "
         "type=\"string\">converted</item>");
    EXPECT_EQ(tool.speed, 0.25);
    EXPECT_EQ(tool.ratio, -2000.0);
    EXPECT_EQ(tool.count, 12);
    EXPECT_FALSE(tool.loop);
    EXPECT_EQ(tool.mode, "Slow");
    EXPECT_EQ(tool.title, "converted");

    // Types a kind does not accept, malformed numbers and short blobs change nothing.
    read("<item id=\"0\" type=\"text\">0.5</item><item id=\"1\">1.5x</item>"
         "<item id=\"2\">3000000000</item><item id=\"3\">true</item>"
         "<item id=\"6\" type=\"generic\">Fast</item><item id=\"7\">plain</item>"
         "<item id=\"8\" type=\"blob\">AAAA</item>");
    EXPECT_EQ(tool.speed, 0.25);
    EXPECT_EQ(tool.ratio, -2000.0);
    EXPECT_EQ(tool.count, 12);
    EXPECT_FALSE(tool.loop);
    EXPECT_EQ(tool.mode + tool.title, "Slowconverted");
    EXPECT_EQ(tool.tiny, 1e-300);
}

} // namespace
