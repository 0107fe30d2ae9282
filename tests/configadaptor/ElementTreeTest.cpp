#include "ConfigTestSupport.h"
#include "core/configadaptor/Button.h"
#include "core/configadaptor/CheckBox.h"
#include "core/configadaptor/Spinner.h"
#include "core/configadaptor/TextBox.h"

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
