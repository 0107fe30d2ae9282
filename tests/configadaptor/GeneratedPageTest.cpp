// Preference pages generated from a configuration tree and built by the real component factories:
// what each element writes, how the built page starts, and how user actions on the widgets and
// later value changes travel between the tool's variables and every page that shows them.
#include "ConfigTestSupport.h"
#include "core/configadaptor/Button.h"
#include "core/configadaptor/CheckBox.h"
#include "core/configadaptor/ComboBox.h"
#include "core/configadaptor/Label.h"
#include "core/configadaptor/Spinner.h"
#include "core/configadaptor/Spinner_Int.h"
#include "core/configadaptor/TextBox.h"
#include "core/configadaptor/TreeBuilder.h"
#include "gui/GuiFixture.h"
#include "gui/componentinterface/CheckBox.h"
#include "gui/componentinterface/ComboBox.h"
#include "gui/componentinterface/Spinner.h"
#include "gui/componentinterface/TextBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gmock/gmock.h>

#include <memory>

using namespace mvk::qvn::core::configadaptor;
using mvk::gui::Component;
using mvk::gui::interfaceOf;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
namespace kind = mvk::gui::componentinterface;

namespace {

// The tool side of the tests: variables and a tree bound to them, like a tool instance builds.
struct SampleTool {
    double gain = 1.5;
    int32_t frames = 12;
    bool loop = true;
    std::string mode = "Fast";
    std::string title = "Take";

    TreeBuilder tree;
    element::Spinner* gainElement = nullptr;
    element::Spinner_Int* framesElement = nullptr;
    element::CheckBox* loopElement = nullptr;
    element::ComboBox* modeElement = nullptr;
    element::TextBox* titleElement = nullptr;

    explicit SampleTool(mvk::qvn::CInterface::Callback* callback) {
        tree.beginConfig();
        tree.beginGroup("Motion", "How the camera moves");
        tree.add(gainElement = new element::Spinner(tree.takeId(), "Gain", "Speed factor", &gain, 0,
                                                    10, 0.5, 3, callback));
        tree.add(framesElement = new element::Spinner_Int(tree.takeId(), "Frames", "", &frames, 1,
                                                          100, 1, 1, callback));
        tree.endGroup();
        tree.beginGroup("Output", "");
        tree.add(loopElement = new element::CheckBox(tree.takeId(), "Loop", "", &loop, callback));
        tree.add(modeElement = new element::ComboBox(tree.takeId(), "Mode", "", &mode,
                                                     {"Slow", "Fast", "Off"}, callback));
        tree.add(titleElement = new element::TextBox(tree.takeId(), "Title", "", &title, callback));
        tree.add(new element::Button(tree.takeId(), "Reset", "Back to defaults", callback));
        tree.add(new element::Label(tree.takeId(), "Note", 40, nullptr));
        tree.endGroup();
    }
    Node* root() const { return tree.top(); }
};

class GeneratedPageTest : public qvn::test::ConfigTest {
protected:
    guitest::Owned page() { return guitest::Owned(tool.root()->buildPage()); }

    // The element's control in one page. Element ids may repeat ids of the page's own frames
    // (the groups' inner lists are 1), so the search starts at the element's own part.
    static Component* control(Component* page, const Node* element) {
        for (int i = 0; i < element->boundPageCount(); ++i) {
            Component* part = element->boundPage(i);
            if (part->root() != page)
                continue;
            return part->getId() == element->getId() ? part : part->findById(element->getId());
        }
        return nullptr;
    }
    template <class Widget> static Widget* widgetOf(Component* page, const Node* element) {
        Component* found = control(page, element);
        return found != nullptr ? dynamic_cast<Widget*>(found->getWidget()) : nullptr;
    }
    template <class Kind> static Kind* kindOf(Component* page, const Node* element) {
        return interfaceOf<Kind>(control(page, element));
    }
    static double spinnerValue(Component* page, const Node* element) {
        return kindOf<kind::Spinner>(page, element)->getValue();
    }

    SampleTool tool{&callback};
};

TEST_F(GeneratedPageTest, ABuiltPageNestsEveryPartAndStartsFromTheToolsValues) {
    tool.modeElement->setItems({"Slow", "Fast", "Off"});
    guitest::Owned built = page();
    ASSERT_NE(built, nullptr);
    EXPECT_EQ(built->getKindName(), "scroll");
    Component* list = built->child(0);
    ASSERT_EQ(list->childCount(), 2);
    Component* motion = list->child(0);
    Component* output = list->child(1);
    EXPECT_EQ(motion->getLabel(), "Motion");

    // Each group's children sit in its own inner list, though both lists carry id 1.
    ASSERT_NE(motion->findById(1), output->findById(1));
    EXPECT_EQ(output->findById(1)->childCount(), 5);

    // The description label shows the group's tooltip, greyed; without one it is empty.
    Component* description = motion->child(0)->child(0);
    EXPECT_EQ(description->getLabel(), "How the camera moves");
    EXPECT_FALSE(description->isEnabled());
    EXPECT_EQ(output->child(0)->child(0)->getLabel(), "");

    // Whole numbers for an integer spinner, the spin box's four decimals for a real one.
    EXPECT_EQ(kindOf<kind::Spinner>(built.get(), tool.gainElement)->getDecimals(), 4);
    EXPECT_EQ(kindOf<kind::Spinner>(built.get(), tool.framesElement)->getDecimals(), 0);
    EXPECT_EQ(widgetOf<QDoubleSpinBox>(built.get(), tool.framesElement)->text(), "12");

    EXPECT_EQ(spinnerValue(built.get(), tool.gainElement), 1.5);
    EXPECT_EQ(spinnerValue(built.get(), tool.framesElement), 12.0);
    EXPECT_TRUE(kindOf<kind::CheckBox>(built.get(), tool.loopElement)->isChecked());
    EXPECT_EQ(kindOf<kind::ComboBox>(built.get(), tool.modeElement)->getCurrentText(), "Fast");
    EXPECT_EQ(kindOf<kind::TextBox>(built.get(), tool.titleElement)->getText(), "Take");
    EXPECT_EQ(built->findById(5)->getLabel(), "Reset");
    EXPECT_EQ(built->findById(6)->getLabel(), "Note");
    EXPECT_EQ(tool.gainElement->boundPageCount(), 1);
    EXPECT_THAT(holds(), IsEmpty()) << "building a page changes nothing";
}

TEST_F(GeneratedPageTest, AUserChangeReachesTheVariableEveryOtherPageTheOwnersAndTheHost) {
    guitest::Owned first = page();
    guitest::Owned second = page();
    qvn::test::JournalListener listener(journal);
    listener.subscribe(tool.gainElement);
    listener.subscribe(tool.framesElement);

    // A real spinner waits for the edit to be committed.
    QDoubleSpinBox* gainBox = widgetOf<QDoubleSpinBox>(first.get(), tool.gainElement);
    gainBox->selectAll();
    QTest::keyClicks(gainBox, "2.5");
    EXPECT_EQ(tool.gain, 1.5);
    EXPECT_EQ(spinnerValue(second.get(), tool.gainElement), 1.5);
    QTest::keyClick(gainBox, Qt::Key_Return);
    EXPECT_EQ(tool.gain, 2.5);
    EXPECT_EQ(spinnerValue(second.get(), tool.gainElement), 2.5) << "the other page follows";
    EXPECT_THAT(journal, ElementsAre("message:0x6000/0", "callback:Gain (held)"));
    EXPECT_EQ(listener.lastOrigin, tool.gainElement);
    EXPECT_THAT(holds(), ElementsAre("begin:Gain", "accept:Gain"));

    // An integer spinner takes every step at once, from either page.
    journal.clear();
    widgetOf<QDoubleSpinBox>(second.get(), tool.framesElement)->stepBy(3);
    EXPECT_EQ(tool.frames, 15);
    EXPECT_EQ(spinnerValue(first.get(), tool.framesElement), 15.0);
    EXPECT_THAT(journal, ElementsAre("message:0x6000/0", "callback:Frames (held)"));
}

TEST_F(GeneratedPageTest, EveryValueKindStoresWhatTheUserDidAndTheButtonOnlyCallsBack) {
    guitest::Owned first = page();
    guitest::Owned second = page();

    widgetOf<QCheckBox>(first.get(), tool.loopElement)->click();
    EXPECT_FALSE(tool.loop);
    EXPECT_FALSE(kindOf<kind::CheckBox>(second.get(), tool.loopElement)->isChecked());

    widgetOf<QComboBox>(second.get(), tool.modeElement)->setCurrentIndex(2);
    EXPECT_EQ(tool.mode, "Off");
    EXPECT_EQ(kindOf<kind::ComboBox>(first.get(), tool.modeElement)->getCurrentText(), "Off");

    QLineEdit* titleEdit = widgetOf<QLineEdit>(first.get(), tool.titleElement);
    titleEdit->selectAll();
    QTest::keyClicks(titleEdit, "Chase");
    EXPECT_EQ(tool.title, "Take") << "typing alone stores nothing";
    QTest::keyClick(titleEdit, Qt::Key_Return);
    EXPECT_EQ(tool.title, "Chase");
    EXPECT_EQ(kindOf<kind::TextBox>(second.get(), tool.titleElement)->getText(), "Chase");

    journal.clear();
    qvn::test::JournalListener listener(journal);
    Node* reset = tool.root()->child(1)->child(3);
    listener.subscribe(reset);
    widgetOf<QPushButton>(second.get(), reset)->click();
    EXPECT_THAT(journal, ElementsAre("callback:Reset (held)")) << "a button announces no change";
    EXPECT_THAT(holds(), ElementsAre("begin:Loop", "accept:Loop", "begin:Mode", "accept:Mode",
                                     "begin:Title", "accept:Title", "begin:Reset", "accept:Reset"));
}

TEST_F(GeneratedPageTest, ADestroyedPageIsForgottenAndDestroyedElementsHearNothing) {
    guitest::Owned first = page();
    guitest::Owned second = page();
    EXPECT_EQ(tool.loopElement->boundPageCount(), 2);
    Component* kept = second.get();
    QDoubleSpinBox* gainBox = widgetOf<QDoubleSpinBox>(second.get(), tool.gainElement);
    first.reset();
    for (Node* element : {static_cast<Node*>(tool.root()), static_cast<Node*>(tool.gainElement),
                          static_cast<Node*>(tool.titleElement)}) {
        ASSERT_EQ(element->boundPageCount(), 1);
        EXPECT_EQ(element->boundPage(0)->root(), kept);
    }
    gainBox->setValue(4);
    QTest::keyClick(gainBox, Qt::Key_Return);
    EXPECT_EQ(tool.gain, 4.0);

    // A page that outlives its tree sends its events to nobody.
    double orphanGain = 1.0;
    auto orphanTree = std::make_unique<TreeBuilder>();
    orphanTree->add(new element::Spinner(0, "Gain", "", &orphanGain, 0, 10, 1, 1, &callback));
    guitest::Owned orphan(orphanTree->top()->buildPage());
    orphanTree.reset();
    auto* orphanBox = static_cast<QDoubleSpinBox*>(orphan->findById(0)->getWidget());
    orphanBox->setValue(6);
    QTest::keyClick(orphanBox, Qt::Key_Return);
    EXPECT_EQ(orphanGain, 1.0);
}

} // namespace
