// The template code driven through the core: instances restored from custom data, their
// properties, configuration and virtual controls, and the logic written back.
#include "TemplateFixture.h"

#include <vector>

namespace qvn::test {
namespace {

using TemplateLogicTest = TemplateFixture;

const char* const twoControls =
    "<input><property><name>Both</name><binary/><finite/></property>"
    "<property><trinary/></property></input>"
    "<virtualdevice>"
    "<control><index>3</index><infinite/><script><constant>7</constant></script></control>"
    "<control><name>Unknown</name><finite/><script><frobnicate/></script></control>"
    "<control><name>Scriptless</name><finite/><script/></control>"
    "</virtualdevice>";

// Spinner 0 is "Gain" (3), spinner 1 the integer "Steps" (2); the check box between them is
// no spinner. "Stick" reads 0.75 through its offset alone.
const char* const spinnerLogic =
    "<input><property><name>Stick</name><finite/></property></input>"
    "<config><group label=\"Tuning\"><item label=\"Gain\" property=\"1\">3</item>"
    "<item label=\"Armed\" kind=\"checkbox\">1</item>"
    "<item label=\"Steps\" kind=\"spinner_int\">2</item></group>"
    "<item label=\"Note\" type=\"text\">hello</item></config>"
    "<virtualdevice>"
    "<control><name>Mixed</name><script><add><mul><parameter>0</parameter><constant>10</constant>"
    "</mul><parameter>1</parameter></add></script>"
    "<parameters><spinner>0</spinner><property>Stick</property></parameters></control>"
    "<control><name>Missing</name><script><add><mul><parameter>0</parameter><constant>10</constant>"
    "</mul><parameter>1</parameter></add></script>"
    "<parameters><spinner>9</spinner><property>Stick</property></parameters></control>"
    "<control><name>Stepped</name><script><parameter>0</parameter></script>"
    "<parameters><spinner>1</spinner></parameters></control>"
    "</virtualdevice>";

TEST_F(TemplateLogicTest, SpinnerParametersFollowTheConfigurationAtEveryUpdate) {
    Instance* instance = restore(spinnerLogic);
    ASSERT_NE(instance, nullptr);
    instance->getProperties()->property("Stick")->setOffset(0.75);
    instance->update(0);
    EXPECT_DOUBLE_EQ(value(instance, 0), 30.75); // the property is parameter 1
    EXPECT_DOUBLE_EQ(value(instance, 1), 0.75);  // no spinner 9: parameter 0 stays 0
    EXPECT_DOUBLE_EQ(value(instance, 2), 2.0);

    // The configuration is a real one: a spinner shown as a property, and a changed profile
    // reaches the script at the next update.
    ASSERT_NE(instance->getProperty("Spinner: Gain"), nullptr);
    Element profile = instance->makeConfigProfile("Tuned");
    Element& group = profile.child("group");
    group.child(2).child(0).setName("5");
    group.child(0).attribute("type") = "generic";
    group.child(0).child(0).setName("4");
    instance->applyConfigProfile(profile);
    instance->update(0);
    EXPECT_DOUBLE_EQ(value(instance, 0), 40.75);
    EXPECT_DOUBLE_EQ(instance->control(0)->previous(), 30.75);
    EXPECT_DOUBLE_EQ(value(instance, 2), 5.0);
}

TEST_F(TemplateLogicTest, WrittenLogicRestoresTheSameToolAndKeepsConfigAndBrokenScripts) {
    Instance* original =
        restore(std::string("<buildmode/><category>Camera</category>") + twoControls +
                spinnerLogic + "<category>Rig</category><datapath>rigs/one</datapath>");
    ASSERT_NE(original, nullptr);
    EXPECT_TRUE(code(original)->isInBuildMode());
    const Element written = writtenLogic(original);
    std::vector<std::string> order;
    for (int i = 0; i < written.childCount(); ++i)
        order.push_back(written.child(i).name());
    EXPECT_EQ(order, (std::vector<std::string>{"buildmode", "input", "virtualdevice", "category",
                                               "category", "datapath", "config"}));
    EXPECT_EQ(written.child("datapath").text(), "rigs/one");
    EXPECT_TRUE(written.child("config").deepEquals(code(original)->content().child("config")));
    const Element& unknown = written.child("virtualdevice").child("control", 1);
    EXPECT_EQ(unknown.child("script").child(0).name(), "frobnicate");

    Instance* copy =
        restore(written.toString("", "", "").substr(std::string("<customdata>").size()).c_str());
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(code(copy)->isInBuildMode());
    EXPECT_EQ(copy->getProperties()->count(), original->getProperties()->count());
    ASSERT_EQ(copy->controlCount(), original->controlCount());
    original->update(0);
    copy->update(0);
    for (int i = 0; i < copy->controlCount(); ++i) {
        EXPECT_EQ(copy->control(i)->type(), original->control(i)->type());
        EXPECT_EQ(copy->control(i)->kind(), original->control(i)->kind());
        EXPECT_DOUBLE_EQ(value(copy, i), value(original, i)) << i;
    }
    EXPECT_TRUE(writtenLogic(copy).deepEquals(written));
}

} // namespace
} // namespace qvn::test
