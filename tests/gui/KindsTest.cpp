#include "EventRecorder.h"
#include "GuiFixture.h"

#include "gui/component/qt/FlmButton.h"
#include "gui/component/qt/TearOffButton.h"
#include "gui/component/qt/TearedOffMenu.h"
#include "gui/componentinterface/ComboBox.h"
#include "gui/componentinterface/Dialog.h"
#include "gui/componentinterface/ListBox.h"
#include "gui/componentinterface/Menubar.h"
#include "gui/componentinterface/Spinner.h"

#include <QDialog>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <functional>

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

// What spinner and check box edits send is checked through the preference pages that store them.
TEST_F(KindsTest, SpinnerRoundsAndStaysQuietWhenSetByCode) {
    Component* component =
        shownKind(R"(<spinner id="4" min="-10" max="10" defaultvalue="2.5"/>)", 4);
    auto* spinner = interfaceOf<componentinterface::Spinner>(component);
    EXPECT_EQ(spinner->getValueRounded(), 2);
    spinner->setValue(2.6);
    EXPECT_EQ(spinner->getValueRounded(), 3);
    // Values set by code keep to the range and send nothing.
    spinner->setValue(99);
    EXPECT_EQ(spinner->getValue(), 10.0);
    EXPECT_TRUE(owner.events.empty());
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
    // Positions past the end append or do nothing.
    list->insertItem("c", 7);
    list->removeItem(10);
    list->selectText("b");
    EXPECT_EQ(list->getCount(), 3);
    EXPECT_TRUE(owner.events.empty());

    auto* widget = static_cast<QListWidget*>(component->getWidget());
    widget->setCurrentRow(2);
    emit widget->itemDoubleClicked(widget->item(2));
    EXPECT_EQ(owner.events, (std::vector<Event>{{0x41C0, 6}, {0x41C1, 6}}));
    EXPECT_EQ(list->getCurrentText(), "c");
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
}

TEST_F(KindsTest, FloatingMenuButtonTearsItsPanelOffAndTakesItBack) {
    Component* component = shownKind(R"(<flmbutton id="30" label="Tools" delay="250ms"
        focusmarkercolor="255 0 0 255"><list id="31" height="40"><label label="x"/></list>
        </flmbutton>)",
                                     30);
    auto* button = static_cast<component::qt::FlmButton*>(component->getWidget());
    component::qt::FloatingMenu* panel = button->dropDown();
    QWidget* content = dialog->findById(31)->getWidget();
    EXPECT_TRUE(panel->isAncestorOf(content));

    panel->strip()->click();
    ASSERT_NE(panel->tornOff(), nullptr);
    EXPECT_TRUE(panel->tornOff()->isAncestorOf(content));
    EXPECT_TRUE(panel->tornOff()->isVisible());
    EXPECT_EQ(panel->tornOff()->windowTitle(), "Tools");

    emit panel->aboutToShow();
    EXPECT_TRUE(panel->isAncestorOf(content));
    EXPECT_FALSE(panel->tornOff()->isVisible());

    button->click();
    EXPECT_EQ(owner.events, (std::vector<Event>{{0x4140, 30}, {0x4141, 30}}));
}

TEST_F(KindsTest, RightClickRunsThePopupAndOnlyItemsWithAnIdAreReported) {
    Component* component = shownKind(R"(<label id="40" width="80" height="20"><popup label="p">
        <item label="Rename" id="7"/><item label="No id"/><separator/>
        <popup label="More"><item label="Deep" id="12"/></popup></popup></label>)",
                                     40);
    guitest::rightClickRelease(component->getWidget(), QPoint(5, 5), 0);
    guitest::rightClickRelease(component->getWidget(), QPoint(5, 5), 1);
    EXPECT_EQ(owner.events, (std::vector<Event>{{0x4007, 7}}));
}

TEST_F(KindsTest, HidingOrClosingADialogEndsItsModalRunAndTheComponentFollows) {
    dialog =
        build(R"(<dialog id="1" width="200" height="100"><button id="2" label="Ok"/></dialog>)");
    owner.subscribe(dialog.get());
    auto* widget = static_cast<QDialog*>(dialog->getWidget());
    auto* modal = interfaceOf<componentinterface::Dialog>(dialog.get());
    // Should an ending fail, the safety net ends the run so the test fails instead of hanging.
    bool rescued = false;
    QTimer rescue;
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [&] {
        rescued = true;
        widget->show();
        widget->done(QDialog::Rejected);
    });
    const std::vector<std::pair<const char*, std::function<void()>>> endings = {
        {"hide", [&] { dialog->hide(); }},
        {"close", [&] { widget->close(); }},
        {"escape", [&] { QTest::keyClick(widget, Qt::Key_Escape); }},
    };
    for (const auto& [name, ending] : endings) {
        owner.events.clear();
        rescued = false;
        dialog->show();
        QTimer::singleShot(0, ending);
        rescue.start(3000);
        modal->runModal();
        rescue.stop();
        EXPECT_FALSE(rescued) << name;
        EXPECT_FALSE(dialog->isShown()) << name;
        EXPECT_FALSE(widget->isVisible()) << name;
        EXPECT_TRUE(owner.received(0x4003, 1)) << name;
    }
    // A window closed by the user comes back when it is shown again.
    dialog->show();
    EXPECT_TRUE(widget->isVisible());
}

} // namespace
