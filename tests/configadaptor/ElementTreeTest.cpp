#include "ConfigTestSupport.h"
#include "core/configadaptor/Button.h"
#include "core/configadaptor/CheckBox.h"
#include "core/configadaptor/ComboBox.h"
#include "core/configadaptor/Label.h"
#include "core/configadaptor/Spinner.h"
#include "core/configadaptor/Spinner_Int.h"
#include "core/configadaptor/TextBox.h"
#include "core/configadaptor/TreeBuilder.h"

#include <gmock/gmock.h>

using namespace mvk::qvn::core::configadaptor;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

using ElementTreeTest = qvn::test::ConfigTest;

WidgetChange change(int32_t code, int32_t id, const std::string& kind) {
    WidgetChange result;
    result.code = code;
    result.senderId = id;
    result.senderKind = kind;
    return result;
}

TEST(TreeBuilderTest, FirstElementIsTheTopAndGroupsTakeTheFollowingElements) {
    TreeBuilder builder;
    int32_t value = 0;
    bool flag = false;
    element::Root* root = builder.beginConfig();
    EXPECT_EQ(builder.top(), root);
    auto* first = new element::Spinner_Int(builder.takeId(), "A", "", &value, 0, 9, 1, 1, nullptr);
    EXPECT_EQ(builder.add(first), 1);
    element::Group* outer = builder.beginGroup("Outer", "tip");
    auto* second = new element::CheckBox(builder.takeId(), "B", "", &flag, nullptr);
    builder.add(second);
    element::Group* inner = builder.beginGroup("Inner", "");
    auto* third = new element::Label(builder.takeId(), "C", 30, nullptr);
    builder.add(third);
    builder.endGroup();
    EXPECT_EQ(builder.current(), outer);
    builder.endGroup();
    builder.endGroup(); // already at the top: stays there
    element::Root* nested = builder.beginConfig();
    EXPECT_EQ(builder.current(), root) << "a nested root does not become current";
    ASSERT_EQ(root->childCount(), 3);
    EXPECT_EQ(root->child(0), first);
    EXPECT_EQ(root->child(1), outer);
    EXPECT_EQ(root->child(2), nested);
    EXPECT_EQ(outer->child(1), inner);
    EXPECT_EQ(inner->child(0), third);
    // Ids count only the elements that take one; indexes count every element.
    EXPECT_EQ(outer->getId(), -1);
    EXPECT_EQ(third->getId(), 2);
    EXPECT_EQ(builder.elementCount(), 7);
    EXPECT_EQ(builder.add(nullptr), -1);

    TreeBuilder groupFirst;
    element::Group* group = groupFirst.beginGroup("G", "");
    groupFirst.add(new element::Button(groupFirst.takeId(), "B", "", nullptr));
    EXPECT_EQ(groupFirst.top(), group);
    EXPECT_EQ(group->childCount(), 1);
}

// What the built pages send reaches these elements; here only the events that must be ignored
// and the values a real widget does not produce.
TEST_F(ElementTreeTest, EachKindStoresOnlyWhatItsOwnControlReports) {
    int32_t count = 0;
    bool loop = false;
    std::string mode = "Slow";
    element::Spinner_Int spinnerInt(1, "Count", "", &count, 0, 10, 1, 1, &callback);
    element::CheckBox checkBox(2, "Loop", "", &loop, &callback);
    element::ComboBox comboBox(3, "Mode", "", &mode, {"Slow", "Fast"}, &callback);
    element::Button button(8, "Reset", "", &callback);

    // Events of another control kind, id or code change nothing and open no operation.
    WidgetChange ignored = change(Node::ValueChanged, 1, "listbox");
    ignored.rounded = 9;
    EXPECT_FALSE(spinnerInt.applyWidgetChange(ignored));
    ignored = change(Node::StateChanged, 7, "checkbox");
    ignored.checked = true;
    EXPECT_FALSE(checkBox.applyWidgetChange(ignored));
    ignored = change(0x41C1, 3, "combobox"); // edit text changed: not handled
    ignored.text = "typed";
    EXPECT_FALSE(comboBox.applyWidgetChange(ignored));
    EXPECT_FALSE(button.applyWidgetChange(change(Node::ButtonClicked, 8, "flmbutton")));
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(loop);
    EXPECT_EQ(mode, "Slow");
    EXPECT_THAT(holds(), IsEmpty());

    // An integer spinner stores the rounded value; a combo box also takes an activated entry.
    WidgetChange counted = change(Node::ValueChanged, 1, "spinner");
    counted.value = 2.6;
    counted.rounded = 3;
    EXPECT_TRUE(spinnerInt.applyWidgetChange(counted));
    EXPECT_EQ(count, 3);
    WidgetChange activated = change(Node::ItemActivated, 3, "combobox");
    activated.text = "Fast";
    EXPECT_TRUE(comboBox.applyWidgetChange(activated));
    EXPECT_EQ(mode, "Fast");
    EXPECT_THAT(holds(), ElementsAre("begin:Count", "accept:Count", "begin:Mode", "accept:Mode"));
}

TEST_F(ElementTreeTest, WithoutCallbackOrAdaptorOrVariable) {
    bool loop = false;
    element::CheckBox checkBox(2, "Loop", "", &loop, nullptr);
    qvn::test::JournalListener listener(journal);
    listener.subscribe(&checkBox);
    WidgetChange checked = change(Node::StateChanged, 2, "checkbox");
    checked.checked = true;
    EXPECT_TRUE(checkBox.applyWidgetChange(checked));
    EXPECT_THAT(journal, ElementsAre("message:0x6000/0"));
    EXPECT_THAT(holds(), IsEmpty()) << "no callback, no host operation";

    // No variable bound: nothing is stored, written or read, and nothing is announced even
    // though a callback is there.
    journal.clear();
    element::Spinner spinner(1, "S", "", nullptr, 0, 1, 0.1, 1, &callback);
    element::TextBox textBox(3, "T", "", nullptr, &callback);
    listener.subscribe(&spinner);
    listener.subscribe(&textBox);
    EXPECT_FALSE(spinner.applyWidgetChange(change(Node::ValueCommitted, 1, "spinner")));
    WidgetChange typed = change(Node::TextEdited, 3, "textbox");
    typed.text = "y";
    EXPECT_FALSE(textBox.applyWidgetChange(typed));
    textBox.readProfile(mvk::util::xml::Element(
        "<configprofile version=\"2.0\"><item id=\"3\" type=\"text\">x</item></configprofile>"));
    EXPECT_TRUE(spinner.writeProfile().isEmpty());
    EXPECT_TRUE(textBox.writeProfile().isEmpty());
    EXPECT_THAT(journal, IsEmpty());
    EXPECT_THAT(holds(), IsEmpty());

    Node::setAdaptor(nullptr); // and no core exists in this test
    element::Button button(8, "Reset", "", &callback);
    EXPECT_TRUE(button.applyWidgetChange(change(Node::ButtonClicked, 8, "button")));
    EXPECT_THAT(journal, ElementsAre("callback:Reset (not held)"));
}

} // namespace
