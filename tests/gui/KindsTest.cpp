#include "EventRecorder.h"
#include "GuiFixture.h"

#include "gui/componentinterface/CheckBox.h"
#include "gui/componentinterface/ComboBox.h"
#include "gui/componentinterface/ListBox.h"
#include "gui/componentinterface/Menubar.h"
#include "gui/componentinterface/Progressbar.h"
#include "gui/componentinterface/Spinner.h"
#include "gui/componentinterface/TextBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollArea>
#include <QTest>

namespace {

using namespace mvk::gui;
using guitest::build;
using guitest::EventRecorder;
using Event = std::pair<int32_t, int32_t>;

class KindsTest : public guitest::GuiTest {
protected:
    // Builds the layout inside a shown dialog and subscribes the recorder to component `id`.
    Component* shownKind(const std::string& inner, int32_t id) {
        dialog = build("<dialog width=\"300\" height=\"200\">" + inner + "</dialog>");
        dialog->show();
        Component* component = dialog->findById(id);
        owner.subscribe(component);
        return component;
    }
    guitest::Owned dialog;
    EventRecorder owner;
};

TEST_F(KindsTest, SpinnerRoundsCommitsOnReturnAndStaysQuietWhenSetByCode) {
    auto plain = build("<spinner/>");
    auto* defaults = interfaceOf<componentinterface::Spinner>(plain.get());
    EXPECT_EQ(defaults->getMinimum(), 0.0);
    EXPECT_EQ(defaults->getMaximum(), 1.0);
    EXPECT_EQ(defaults->getStep(), 0.01);
    EXPECT_EQ(defaults->getDecimals(), 4);
    EXPECT_EQ(defaults->getTriggerLength(), 1);

    Component* component = shownKind(R"(<spinner id="4" min="-10" max="10" step="0.5"
        decimals="2" defaultvalue="2.5" triggerlength="3"/>)",
                                     4);
    auto* spinner = interfaceOf<componentinterface::Spinner>(component);
    EXPECT_EQ(spinner->getValue(), 2.5);
    EXPECT_EQ(spinner->getValueRounded(), 2);
    spinner->setValue(2.6);
    EXPECT_EQ(spinner->getValueRounded(), 3);
    spinner->setValue(-2.5);
    EXPECT_EQ(spinner->getValueRounded(), -2);
    // Values set by code keep to the range and send nothing.
    spinner->setValue(99);
    EXPECT_EQ(spinner->getValue(), 10.0);
    EXPECT_TRUE(owner.events.empty());

    auto* box = static_cast<QDoubleSpinBox*>(component->getWidget());
    box->stepBy(-1);
    EXPECT_EQ(spinner->getValue(), 9.5);
    EXPECT_EQ(owner.events, (std::vector<Event>{{0x4201, 4}}));

    owner.events.clear();
    box->selectAll();
    QTest::keyClicks(box, "3.25");
    owner.events.clear();
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(spinner->getValue(), 3.25);
    ASSERT_FALSE(owner.events.empty());
    EXPECT_EQ(owner.events.back(), (Event{0x4200, 4}));
}

TEST_F(KindsTest, CheckBoxReadsItsStateWordsAndReportsChanges) {
    const std::pair<const char*, int32_t> words[] = {{"true", 1},         {"yes", 1}, {"1", 1},
                                                     {"undetermined", 2}, {"on", 0},  {"", 0}};
    for (const auto& [word, state] : words) {
        auto box = build(std::string("<checkbox defaultstate=\"") + word + "\"/>");
        EXPECT_EQ(interfaceOf<componentinterface::CheckBox>(box.get())->getState(), state) << word;
    }
    EXPECT_TRUE(
        interfaceOf<componentinterface::CheckBox>(build(R"(<checkbox tristate="true"/>)").get())
            ->isTristate());

    Component* component = shownKind(R"(<checkbox id="9" label="Loop" paintgroup="3"/>)", 9);
    auto* check = interfaceOf<componentinterface::CheckBox>(component);
    EXPECT_EQ(check->getPaintGroup(), 3);
    static_cast<QCheckBox*>(component->getWidget())->click();
    EXPECT_TRUE(check->isChecked());
    EXPECT_EQ(owner.events, (std::vector<Event>{{0x4240, 9}}));
    check->setState(componentinterface::CheckBox::PartlyChecked);
    EXPECT_EQ(static_cast<QCheckBox*>(component->getWidget())->checkState(), Qt::PartiallyChecked);
}

TEST_F(KindsTest, ComboBoxEntriesComeFromItemTextAndOnlyUsersCauseEvents) {
    Component* component = shownKind(R"(<combobox id="3"><item>Walk</item>
        <item label="Run"/><item>Jump</item></combobox>)",
                                     3);
    auto* combo = interfaceOf<componentinterface::ComboBox>(component);
    ASSERT_EQ(combo->getCount(), 3);
    EXPECT_EQ(combo->getItemText(1), "");
    EXPECT_EQ(combo->getCurrentIndex(), 0);

    combo->setCurrentText("Jump");
    combo->insertItem("Crawl", 0);
    combo->insertItem("Swim", -1);
    combo->removeItem(1);
    EXPECT_EQ(combo->getCurrentText(), "Jump");
    EXPECT_EQ(combo->findItem("Swim"), 3);
    // Text that is not an entry only changes the field of an editable box.
    combo->setCurrentText("Fly");
    EXPECT_EQ(combo->getCurrentText(), "Jump");
    EXPECT_TRUE(owner.events.empty());

    QTest::keyClick(component->getWidget(), Qt::Key_Down);
    EXPECT_EQ(combo->getCurrentText(), "Swim");
    EXPECT_EQ(owner.events, (std::vector<Event>{{0x41C0, 3}, {0x41C2, 3}}));

    owner.events.clear();
    combo->setEditable(true);
    combo->setCurrentText("Fly");
    EXPECT_EQ(combo->getCurrentText(), "Fly");
    EXPECT_TRUE(owner.events.empty());
    QTest::keyClick(component->getWidget(), Qt::Key_X);
    EXPECT_EQ(owner.events, (std::vector<Event>{{0x41C1, 3}}));
}

TEST_F(KindsTest, ListBoxEditsItsEntriesAndReportsUserSelection) {
    Component* component =
        shownKind(R"(<listbox id="6"><item>a</item><item>b</item></listbox>)", 6);
    auto* list = interfaceOf<componentinterface::ListBox>(component);
    list->insertItem("c", 7);
    list->insertItem("first", 0);
    list->selectText("b");
    EXPECT_EQ(list->getCurrentIndex(), 2);
    list->removeItem(0);
    EXPECT_EQ(list->getCurrentText(), "b");
    list->removeItem(10);
    EXPECT_EQ(list->getCount(), 3);
    EXPECT_TRUE(owner.events.empty());

    auto* widget = static_cast<QListWidget*>(component->getWidget());
    widget->setCurrentRow(2);
    emit widget->itemDoubleClicked(widget->item(2));
    EXPECT_EQ(owner.events, (std::vector<Event>{{0x41C0, 6}, {0x41C1, 6}}));
    EXPECT_EQ(list->getCurrentText(), "c");
}

TEST_F(KindsTest, TextBoxStartsWithItsDefaultTextAndReportsFinishedEdits) {
    auto readOnly = build(R"(<textbox editable="no" defaulttext="fixed"/>)");
    EXPECT_TRUE(static_cast<QLineEdit*>(readOnly->getWidget())->isReadOnly());
    EXPECT_EQ(interfaceOf<componentinterface::TextBox>(readOnly.get())->getText(), "fixed");

    Component* component = shownKind(R"(<textbox id="2" defaulttext="take_01"/>)", 2);
    auto* text = interfaceOf<componentinterface::TextBox>(component);
    text->setText("take_02");
    EXPECT_TRUE(owner.events.empty());
    QTest::keyClicks(component->getWidget(), "b");
    QTest::keyClick(component->getWidget(), Qt::Key_Return);
    EXPECT_EQ(text->getText(), "take_02b");
    EXPECT_EQ(owner.events, (std::vector<Event>{{0x4180, 2}}));
}

TEST_F(KindsTest, ProgressbarShowsTruncatedPercentAndScrollHoldsItsContent) {
    auto bar = build("<progressbar/>");
    auto* progress = interfaceOf<componentinterface::Progressbar>(bar.get());
    auto* widget = static_cast<QProgressBar*>(bar->getWidget());
    progress->setProgress(0.259);
    EXPECT_EQ(widget->value(), 25);
    progress->setProgress(1.0);
    EXPECT_EQ(widget->value(), 100);
    EXPECT_EQ(progress->getProgress(), 1.0);

    Component* scroll = shownKind(R"(<scroll id="1" height="100"><list id="2" height="400">
        <label height="400"/></list></scroll>)",
                                  1);
    QWidget* content = dialog->findById(2)->getWidget();
    auto* area = static_cast<QScrollArea*>(scroll->getWidget());
    EXPECT_TRUE(area->widget()->isAncestorOf(content));
    EXPECT_TRUE(content->isVisible());
}

TEST_F(KindsTest, MenubarReportsItemsWithAnIdAndGreysThemOut) {
    Component* component = shownKind(R"(<menubar id="20"><menu label="File">
        <item label="Open" id="1"/><item label="Untitled"/><separator/>
        <menu label="Recent"><item label="take.xml" id="2"/></menu></menu>
        <menu label="Help" grayed="yes"><item label="About" id="3"/></menu></menubar>)",
                                     20);
    auto* bar = static_cast<QMenuBar*>(component->getWidget());
    const QList<QAction*> menus = bar->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "File");
    EXPECT_FALSE(menus[1]->isEnabled());
    const QList<QAction*> file = menus[0]->menu()->actions();
    ASSERT_EQ(file.size(), 4);
    EXPECT_TRUE(file[2]->isSeparator());

    file[0]->trigger();
    file[1]->trigger();
    file[3]->menu()->actions()[0]->trigger();
    EXPECT_EQ(owner.events, (std::vector<Event>{{0x4300, 1}, {0x4300, 2}}));

    owner.events.clear();
    emit menus[0]->menu()->aboutToShow();
    EXPECT_EQ(owner.events, (std::vector<Event>{{0x4301, 20}}));

    interfaceOf<componentinterface::Menubar>(component)->setItemEnabled(2, false);
    EXPECT_FALSE(file[3]->menu()->actions()[0]->isEnabled());
    EXPECT_TRUE(file[0]->isEnabled());
    EXPECT_NE(component->writeXml().toString("", "", "").find(R"(id="2" grayed="yes")"),
              std::string::npos);
}

} // namespace
