// The main dialog built from the shipped layout in an attached core: its dialog codes, the create
// menus and buttons, the tree commands, the record button and the slow-motion spinner, the ways
// into a tool's input settings, and the countdown window a take opens.
#include "WindowTestSupport.h"

#include "core/libraries/LibraryManager.h"
#include "core/libraries/Tool.h"
#include "core/recording/ResimulateWindow.h"
#include "core/windows/ConfigWindow.h"
#include "core/windows/CountDownWindow.h"
#include "core/windows/ToolMenus.h"
#include "gui/componentinterface/Button.h"
#include "gui/componentinterface/Dialog.h"
#include "gui/componentinterface/Spinner.h"
#include "gui/componentinterface/Tree.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/WinDriver.h"
#include "util/Message.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

using namespace mvk::qvn;
using mvk::gui::Component;
using mvk::qvn::core::InstanceReference;
namespace ci = mvk::gui::componentinterface;

namespace {

constexpr int32_t MenuCommand = 0x4300;
using Titles = std::vector<std::string>;

class MainDlgTest : public qvn::test::AttachedCore {
protected:
    void attachAndOpen() {
        attach();
        ASSERT_EQ(core->openMainDialog(), ResultOk);
    }
    // With the sample modules, which bring a camera tool and nothing else.
    void openWithSampleTools() {
        installSamplePlugins();
        attachAndOpen();
    }
    InstanceReference* create(const char* tool, InstanceReference* parent = nullptr) {
        return implementation()->InstanceManager::createInstance(tool, "", parent);
    }
    void select(InstanceReference* reference) {
        implementation()->refreshTree();
        implementation()->select(reference);
    }
    // A click on a button the user can see.
    void click(int32_t id) {
        Component* button = mainComponent(id);
        ASSERT_NE(button, nullptr) << id;
        ASSERT_TRUE(button->getWidget()->isVisibleTo(button->getWidget()->window())) << id;
        clickButton(core->getMainWindow(), id);
    }
    bool shown(int32_t id) const {
        QWidget* widget = mainComponent(id)->getWidget();
        return widget->isVisibleTo(widget->window());
    }
    void menuCommand(int32_t id) {
        userEvent(mainComponent(core::MainDlg::MenuBar), MenuCommand, id);
    }
    int toolCount() const { return implementation()->getRoot()->childCount(); }
    std::string statusText() const {
        auto* status = qobject_cast<QLabel*>(mainComponent(core::MainDlg::StatusLine)->getWidget());
        return status != nullptr ? status->text().toStdString() : "<no status line>";
    }
    // The names of the host undo steps made since the stack held `from` steps.
    std::vector<std::string> stepsSince(int from) const {
        std::vector<std::string> names;
        for (int step = from; step < host.undoStack.stepCount(); ++step)
            names.push_back(host.undoStack.stepName(step));
        return names;
    }
    QMenu* createMenu(const char* title) const {
        auto* bar = qobject_cast<QMenuBar*>(mainComponent(core::MainDlg::MenuBar)->getWidget());
        for (QMenu* menu : bar->findChildren<QMenu*>())
            if (menu->title() == QString::fromUtf8(title))
                return menu;
        return nullptr;
    }
    // The entry of command `id` among `actions`, or null.
    static QAction* entryOf(const QList<QAction*>& actions, int32_t id) {
        for (QAction* action : actions)
            if (action->data().isValid() && action->data().toInt() == id)
                return action;
        return nullptr;
    }
    QAction* menuEntry(int32_t id) const {
        return entryOf(mainComponent(core::MainDlg::MenuBar)->getWidget()->findChildren<QAction*>(),
                       id);
    }
    // The title of each input settings window on screen.
    static Titles inputWindows() {
        Titles titles;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->windowTitle().startsWith("Inputs for "))
                titles.push_back(window->windowTitle().toStdString());
        return titles;
    }
    // As the user does, with the window's close button.
    static void closeInputWindows() {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->windowTitle().startsWith("Inputs for "))
                window->close();
    }
};

// The About box opens from the menu; its close button destroys the window whose click it is
// handling.
TEST_F(MainDlgTest, OpensTitledAnswersTheDialogCodesAndOffersTheAboutBox) {
    attach();
    ASSERT_NE(core->getMainWindow(), nullptr);
    EXPECT_FALSE(core->isMainDialogOpen());
    EXPECT_EQ(core->closeMainDialog(), ResultMainDialogNotOpen);
    EXPECT_EQ(core->openMainDialog(), ResultOk);
    EXPECT_TRUE(core->isMainDialogOpen());
    EXPECT_EQ(core->getMainWindow()->getLabel(), "Morvik Quorvane v9.2.1");
    EXPECT_EQ(core->openMainDialog(), ResultMainDialogOpen);
    menuCommand(core::MainDlg::CommandAbout);
    Component* about = implementation()->getAboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isShown());
    clickButton(about, core::MainDlg::AboutCloseButton);
    EXPECT_EQ(implementation()->getAboutWindow(), nullptr);
    EXPECT_EQ(core->closeMainDialog(), ResultOk);
    EXPECT_FALSE(core->isMainDialogOpen());
    EXPECT_EQ(core->closeMainDialog(), ResultMainDialogNotOpen);
    EXPECT_EQ(logText().find("Unable to find"), std::string::npos);
}

// A layout lacking one of the reported controls: its own error line once, and the window still
// opens.
TEST_F(MainDlgTest, AMissingControlIsLoggedOnceAndTheWindowStillOpens) {
    editLayout("qvn_main.xml", "id=\"116\"", "id=\"9116\"");
    const std::string line = "Unable to find record button in main Dialog";
    const size_t lines = occurrences(logText(), line);
    const size_t missing = occurrences(logText(), "Unable to find");
    attach();
    EXPECT_EQ(core->openMainDialog(), ResultOk);
    EXPECT_TRUE(core->isMainDialogOpen());
    EXPECT_EQ(occurrences(logText(), line), lines + 1);
    EXPECT_EQ(occurrences(logText(), "Unable to find"), missing + 1);
}

TEST_F(MainDlgTest, CreateMenuItemsAndButtonsMakeInstancesOfTheirToolAndFollowTheLibraries) {
    attachAndOpen();
    const std::vector<core::Tool*> tools = core::ToolMenus::toolList();
    ASSERT_GE(tools.size(), 4u);
    core::Tool* fourth = tools[3];
    const int button =
        core::MainDlg::CreateButtons[static_cast<size_t>(core::ToolMenus::groupOf(*fourth))];

    // Without the sample modules no category has a tool to offer: the built-in plug-ins that
    // templates build on are not menu entries, so the buttons and their menus are hidden and a
    // click on a button makes nothing.
    EXPECT_FALSE(shown(button));
    for (const char* title :
         {"Create Vehicle tool", "Create Camera tool", "Create Accessory tool"}) {
        ASSERT_NE(createMenu(title), nullptr) << title;
        EXPECT_TRUE(createMenu(title)->isEmpty()) << title;
        EXPECT_FALSE(createMenu(title)->menuAction()->isVisible()) << title;
    }
    clickButton(core->getMainWindow(), button);
    EXPECT_EQ(toolCount(), 0);

    menuCommand(0x5003);
    ASSERT_EQ(fourth->instanceCount(), 1);
    EXPECT_EQ(toolCount(), 1);
    EXPECT_EQ(implementation()->getRoot()->child(0)->getInstance()->getTool(), fourth);

    // Its category's button now shows and makes more of it.
    EXPECT_TRUE(shown(button));
    click(button);
    EXPECT_EQ(fourth->instanceCount(), 2);

    // Ids past the tool list make nothing.
    menuCommand(0x5000 + static_cast<int32_t>(tools.size()));
    menuCommand(0x6000 + static_cast<int32_t>(tools.size()));
    EXPECT_EQ(toolCount(), 2);

    // A library loaded later is offered once the core hears that the libraries changed: its
    // template in the template menu only, where the new entry makes the template's tool tree.
    QMenu* templates = createMenu("Create Template");
    ASSERT_NE(templates, nullptr);
    const std::string crane =
        qvn::test::TestEnvironment::stageRoot() + "/quorvane/prm/crane/crane.prm";
    ASSERT_EQ(core::LibraryManager::instance()->loadLibrary(crane), 0);
    const std::vector<core::Tool*> loaded = core::ToolMenus::toolList();
    ASSERT_EQ(loaded.back()->kind(), core::Tool::KindTemplate);
    const int32_t item = 0x6000 + static_cast<int32_t>(loaded.size()) - 1;
    EXPECT_EQ(entryOf(templates->actions(), item), nullptr);
    mvk::util::MessageNode libraries("libraries");
    mvk::util::Message changed(0x8000);
    libraries.send(core, changed);
    EXPECT_NE(entryOf(templates->actions(), item), nullptr);
    EXPECT_EQ(entryOf(createMenu("Create Vehicle tool")->actions(), item), nullptr);
    menuCommand(item);
    EXPECT_EQ(toolCount(), 3);
}

// The record button starts a take (with the countdown window in front) and stops it again; the
// button shows the pressed state exactly while the take runs. The window driver's devices work
// with the main window's native window, handed over when the take is prepared.
TEST_F(MainDlgTest, RecordButtonStartsAndStopsATakeWithTheCountdownShowing) {
    attachAndOpen();
    auto* button = mvk::gui::interfaceOf<ci::Button>(mainComponent(116));
    ASSERT_NE(button, nullptr);
    auto* windows = dynamic_cast<mvk::unidevice::WinDriver*>(
        mvk::unidevice::DeviceHandler::instance()->driver("windriver"));
    ASSERT_NE(windows, nullptr);

    const int steps = host.undoStack.stepCount();
    click(116);
    EXPECT_TRUE(core->isRecording());
    EXPECT_TRUE(button->isChecked());
    EXPECT_TRUE(countdownShown());
    const WId native = core->getMainWindow()->getWidget()->window()->winId();
    EXPECT_NE(native, WId(0));
    EXPECT_EQ(windows->param(), static_cast<uintptr_t>(native));

    click(116);
    EXPECT_FALSE(core->isRecording());
    EXPECT_FALSE(button->isChecked());
    EXPECT_FALSE(countdownShown());
    // The whole take is one host undo step.
    EXPECT_EQ(stepsSince(steps), std::vector<std::string>{"Record"});
    // The status line reports it, in the window rather than only to the host.
    EXPECT_TRUE(statusText().starts_with("Take 1: ")) << statusText();
    EXPECT_TRUE(statusText().ends_with(" late")) << statusText();
}

// The tree commands work on the selected tool, each as one host undo step; the tick column
// chooses the tools a take records.
TEST_F(MainDlgTest, TreeCommandsCloneDeleteAndUnplugTheSelectedToolAndTicksChooseWhatIsRecorded) {
    attachAndOpen();
    auto* tree = mvk::gui::interfaceOf<ci::Tree>(mainComponent(119));
    ASSERT_NE(tree, nullptr);
    for (int i = 0; i < 3; ++i)
        ASSERT_FALSE(core->createInstance("Group").empty());
    core::InstanceReference* root = implementation()->getRoot();
    ASSERT_EQ(root->childCount(), 3);
    ASSERT_NE(tree->getRoot(), nullptr);
    EXPECT_EQ(tree->getRoot()->childCount(), 3);
    core::InstanceReference* second = root->child(1);

    // Clone: the copy goes after the selected item's last sibling and becomes the selection.
    implementation()->select(second);
    ASSERT_EQ(implementation()->selected(), second);
    click(109);
    ASSERT_EQ(root->childCount(), 4);
    core::InstanceReference* copy = root->child(3);
    EXPECT_NE(copy->getName(), second->getName());
    EXPECT_EQ(implementation()->selected(), copy);
    EXPECT_EQ(tree->getRoot()->childCount(), 4);

    // Delete: gone from the instance tree and the tool tree; one host undo brings it back.
    const std::string copyName = copy->getName();
    int steps = host.undoStack.stepCount();
    click(104);
    EXPECT_EQ(core->findInstance(copyName), nullptr);
    EXPECT_EQ(tree->getRoot()->childCount(), 3);
    EXPECT_EQ(implementation()->selected(), nullptr);
    EXPECT_EQ(stepsSince(steps), std::vector<std::string>{"Delete tool"});
    EXPECT_TRUE(statusText().starts_with("Deleted " + copyName)) << statusText();
    // The host's undo brings it back, and the status line no longer says it was deleted.
    EXPECT_TRUE(host.undo());
    EXPECT_NE(core->findInstance(copyName), nullptr);
    EXPECT_EQ(statusText(), "Brought back " + copyName);
    EXPECT_TRUE(host.undoStack.redo());
    EXPECT_EQ(statusText(), "Removed " + copyName + " again");
    EXPECT_TRUE(host.undo());

    // The Delete key on the focused tree deletes the same way; in a name being edited it only
    // edits the name.
    QWidget* treeWidget = mainComponent(119)->getWidget();
    treeWidget->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(treeWidget->window()));
    implementation()->refreshTree();
    implementation()->select(core->findInstance(copyName));
    treeWidget->setFocus();
    QTest::keyClick(treeWidget, Qt::Key_F2);
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, treeWidget) << "F2 edits the name in place";
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_NE(core->findInstance(copyName), nullptr);
    steps = host.undoStack.stepCount();
    treeWidget->setFocus();
    QTest::keyClick(treeWidget, Qt::Key_Delete);
    EXPECT_EQ(core->findInstance(copyName), nullptr);
    EXPECT_EQ(stepsSince(steps), std::vector<std::string>{"Delete tool"});
    EXPECT_TRUE(host.undo());

    // Unplug: the selected tool leaves under its own host operation.
    const std::string firstName = root->child(0)->getName();
    implementation()->select(root->child(0));
    steps = host.undoStack.stepCount();
    click(108);
    EXPECT_EQ(core->findInstance(firstName), nullptr);
    EXPECT_EQ(stepsSince(steps), std::vector<std::string>{"Unplug tool"});

    // Without a selection the commands do nothing.
    implementation()->select(nullptr);
    const int left = root->childCount();
    click(104);
    click(108);
    click(109);
    EXPECT_EQ(root->childCount(), left);

    // Unticking a tool in the tree leaves it out of the next take.
    tree->getRoot()->child(0)->setFlag(0, ci::Tree::Unset);
    userEvent(mainComponent(119), 0x4282, 0);
    const std::vector<core::Instance*> ticked = implementation()->checkedInstances();
    const auto has = [&ticked](core::InstanceReference* reference) {
        return std::find(ticked.begin(), ticked.end(), reference->getInstance()) != ticked.end();
    };
    EXPECT_FALSE(has(root->child(0)));
    EXPECT_TRUE(has(root->child(1)));
}

// The tree's context menu: "New tool" entries create below the item, one per creatable tool.
TEST_F(MainDlgTest, NewToolFromTheTreeMenuCreatesBelowTheSelectedItem) {
    openWithSampleTools();
    ASSERT_FALSE(core->createInstance("Group").empty());
    core::InstanceReference* group = implementation()->getRoot()->child(0);
    Component* tree = mainComponent(119);
    ASSERT_NE(tree, nullptr);

    const std::vector<core::Tool*> creatable = core::ToolMenus::creatableTools();
    const mvk::util::xml::Element popup = tree->getPopup();
    const mvk::util::xml::Element& newTool = popup.child("popup", 0);
    ASSERT_EQ(newTool.attribute("label"), "New tool");
    ASSERT_EQ(newTool.childCount("item"), static_cast<int>(creatable.size()));
    ASSERT_FALSE(creatable.empty());
    const int last = static_cast<int>(creatable.size()) - 1;

    implementation()->select(group);
    const int steps = host.undoStack.stepCount();
    userEvent(tree, mvk::gui::Component::EventPopupChosen, 1000 + last);
    ASSERT_EQ(group->childCount(), 1);
    EXPECT_EQ(group->child(0)->getInstance()->getTool(), creatable[static_cast<size_t>(last)]);
    EXPECT_EQ(stepsSince(steps), std::vector<std::string>{"Create Tool"});

    // An entry past the list does nothing.
    userEvent(tree, mvk::gui::Component::EventPopupChosen,
              1000 + static_cast<int32_t>(creatable.size()));
    EXPECT_EQ(group->childCount(), 1);
    EXPECT_EQ(implementation()->getRoot()->childCount(), 1);
}

// The spinner shows the factor in effect: 1 while a resimulation runs, the user's step before
// and after it; a step committed meanwhile is refused, not kept on screen and dropped later.
// Meanwhile the record button neither starts nor stops anything, and keeps showing the released
// state.
TEST_F(MainDlgTest, DuringAResimulationTheSlowMotionIsOneAndTheRecordButtonChangesNothing) {
    attachAndOpen();
    auto* spinner = mvk::gui::interfaceOf<ci::Spinner>(mainComponent(115));
    ASSERT_NE(spinner, nullptr);
    core->setSlowMotion(3);
    EXPECT_EQ(spinner->getValueRounded(), 3);

    host.frameRate = 25.0;
    host.time = 0.0;
    host.rangeEnd = 4.0;
    click(117);
    ASSERT_TRUE(implementation()->isResimulating());
    EXPECT_EQ(spinner->getValueRounded(), 1);

    spinner->setValue(5);
    userEvent(mainComponent(115), 0x4200, 5);
    EXPECT_EQ(core->getSlowMotion(), 1);
    EXPECT_EQ(spinner->getValueRounded(), 1);

    const std::vector<std::string> holds = host.undoStack.history();
    auto* record = mvk::gui::interfaceOf<ci::Button>(mainComponent(116));
    ASSERT_NE(record, nullptr);
    click(116);
    EXPECT_TRUE(implementation()->isResimulating());
    EXPECT_TRUE(core->isRecording());
    EXPECT_FALSE(record->isChecked());
    EXPECT_FALSE(countdownShown());
    EXPECT_EQ(host.undoStack.history(), holds);
    userEvent(mainComponent(116), 0x4142, 116);
    EXPECT_TRUE(implementation()->isResimulating());
    EXPECT_EQ(host.undoStack.history(), holds);

    // Cancelled through the progress window's own button.
    Component* progress = implementation()->getResimulateWindow()->getWindow();
    ASSERT_NE(progress, nullptr);
    clickButton(progress, 99);
    EXPECT_FALSE(implementation()->isResimulating());
    EXPECT_EQ(core->getSlowMotion(), 3);
    EXPECT_EQ(spinner->getValueRounded(), 3);
    spinner->setValue(2);
    userEvent(mainComponent(115), 0x4200, 2);
    EXPECT_EQ(core->getSlowMotion(), 2);
}

// The context menu offers configure and input settings first; button 107 reaches only tools
// below another tool, while the Tool menu's entry and the context menu reach every tool.
TEST_F(MainDlgTest, InputSettingsOpenFromTheButtonTheMenuAndTheContextMenu) {
    openWithSampleTools();
    InstanceReference* camera = create("Orbit Camera");
    InstanceReference* group = create("Group");
    ASSERT_NE(camera, nullptr);
    ASSERT_NE(group, nullptr);
    InstanceReference* nested = create("Orbit Camera", group);
    ASSERT_NE(nested, nullptr);
    Component* tree = mainComponent(119);
    ASSERT_NE(tree, nullptr);

    const mvk::util::xml::Element popup = tree->getPopup();
    EXPECT_EQ(popup.child("item", 1).attribute("id"), "2");
    EXPECT_EQ(popup.child("item", 1).attribute("label"), "Input Settings");

    // 107 would do nothing for a top-level tool, so it is greyed and says where to look instead;
    // the menu entry stays live.
    select(camera);
    Component* inputs = mainComponent(107);
    QAction* inputsEntry = menuEntry(core::MainDlg::CommandInputSettings);
    ASSERT_NE(inputsEntry, nullptr);
    EXPECT_FALSE(inputs->getWidget()->isEnabled());
    EXPECT_NE(inputs->getTooltip().find("inside a group"), std::string::npos);
    EXPECT_TRUE(inputsEntry->isEnabled());
    click(107);
    EXPECT_EQ(inputWindows(), Titles{});
    menuCommand(core::MainDlg::CommandInputSettings);
    EXPECT_EQ(inputWindows(), Titles{"Inputs for " + camera->getName()});
    closeInputWindows();

    select(nested);
    EXPECT_TRUE(inputs->getWidget()->isEnabled());
    click(107);
    EXPECT_EQ(inputWindows(), Titles{"Inputs for " + nested->getName()});
    closeInputWindows();

    select(camera);
    userEvent(tree, Component::EventPopupChosen, 2);
    EXPECT_EQ(inputWindows(), Titles{"Inputs for " + camera->getName()});
    // The same tool again brings its one window forward rather than opening another.
    userEvent(tree, Component::EventPopupChosen, 2);
    EXPECT_EQ(inputWindows(), Titles{"Inputs for " + camera->getName()});

    userEvent(tree, Component::EventPopupChosen, 1);
    EXPECT_TRUE(implementation()->getConfigWindow()->isWindowShown());

    // Nothing selected: nothing opens, and both ways in say so by being greyed.
    closeInputWindows();
    select(nullptr);
    EXPECT_FALSE(inputs->getWidget()->isEnabled());
    EXPECT_FALSE(inputsEntry->isEnabled());
    menuCommand(core::MainDlg::CommandInputSettings);
    userEvent(tree, Component::EventPopupChosen, 2);
    EXPECT_EQ(inputWindows(), Titles{});
}

// On a first start a create button has no tool yet: with a single tool in its category it makes
// that tool at once, with several it offers its category's menu under itself, and a category with
// nothing to make shows no button at all. A button given a tool shows the images of the tool's
// data folder, and those of its installed folder when the data folder has none.
TEST_F(MainDlgTest, ACreateButtonWithoutAToolMakesItsOnlyToolOrOffersItsMenuAndShowsItsImages) {
    openWithSampleTools();
    // The sample modules bring a camera tool only.
    EXPECT_TRUE(shown(102));
    EXPECT_FALSE(shown(101));
    EXPECT_FALSE(shown(103));
    const auto shownPopup = [] {
        QMenu* popup = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* menu = qobject_cast<QMenu*>(widget); menu != nullptr && menu->isVisible())
                popup = menu;
        return popup;
    };

    click(102);
    EXPECT_EQ(shownPopup(), nullptr) << "one tool leaves nothing to choose";
    InstanceReference* root = implementation()->getRoot();
    ASSERT_EQ(root->childCount(), 1);
    EXPECT_EQ(root->child(0)->getInstance()->getTool()->identifiers().front(), "Orbit Camera");
    EXPECT_EQ(statusText(), "Created " + root->child(0)->getName());
    // With its tool the button does what it always did: one more of that tool.
    click(102);
    EXPECT_EQ(root->childCount(), 2);
    EXPECT_EQ(shownPopup(), nullptr);

    // Two templates: the template button offers both, and only them, under itself.
    for (const char* name : {"crane", "turntable"})
        ASSERT_EQ(core::LibraryManager::instance()->loadLibrary(
                      qvn::test::TestEnvironment::stageRoot() + "/quorvane/prm/" + name + "/" +
                      name + ".prm"),
                  0);
    mvk::util::MessageNode libraries("libraries");
    mvk::util::Message changed(0x8000);
    libraries.send(core, changed);
    ASSERT_TRUE(shown(110));
    click(110);
    QMenu* popup = shownPopup();
    ASSERT_NE(popup, nullptr);
    QWidget* templateButton = mainComponent(110)->getWidget();
    EXPECT_EQ(popup->pos(), templateButton->mapToGlobal(QPoint(0, templateButton->height())));
    QStringList entries;
    for (QAction* action : popup->actions())
        if (!action->isSeparator())
            entries << action->text();
    EXPECT_EQ(entries.size(), 2) << entries.join(", ").toStdString();
    for (const char* builtIn : {"template", "PRM", "PRS", "PRC", "Group", "Orbit Camera"})
        EXPECT_FALSE(entries.contains(builtIn)) << builtIn;
    popup->setActiveAction(popup->actions().back());
    QTest::keyClick(popup, Qt::Key_Return);
    ASSERT_EQ(root->childCount(), 3);
    EXPECT_EQ(statusText(), "Created " + root->child(2)->getName());

    QWidget* button = mainComponent(102)->getWidget();
    core::Tool* camera = core::LibraryManager::instance()->findTool("Orbit Camera");
    ASSERT_NE(camera, nullptr);
    ASSERT_NE(camera->dataFolder(), camera->installedDataFolder());
    const auto paint = [](const std::string& folder, Qt::GlobalColor colour) {
        std::filesystem::create_directories(folder + "/images");
        QImage image(48, 48, QImage::Format_RGB32);
        image.fill(colour);
        for (const char* state : {"default", "pressed", "hover"})
            ASSERT_TRUE(image.save(
                QString::fromStdString(folder + "/images/button_product_" + state + ".png")));
    };
    paint(camera->installedDataFolder(), Qt::blue);
    paint(camera->dataFolder(), Qt::red);
    // The share of the button's pixels in a colour.
    const auto share = [button](QRgb colour) {
        const QImage shot = button->grab().toImage();
        int hits = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                hits += shot.pixel(x, y) == colour ? 1 : 0;
        return static_cast<double>(hits) / (shot.width() * shot.height());
    };
    implementation()->setButtonTool(1, camera);
    EXPECT_GT(share(qRgb(255, 0, 0)), 0.2);
    EXPECT_EQ(share(qRgb(0, 0, 255)), 0.0);
    std::filesystem::remove_all(camera->dataFolder() + "/images");
    implementation()->setButtonTool(1, camera);
    EXPECT_GT(share(qRgb(0, 0, 255)), 0.2);
}

// Run at 200 % as a test of its own: an image button keeps its size in points and draws the
// image rendered at twice the size, not the normal one blown up.
TEST_F(MainDlgTest, AtTwiceTheScaleImageButtonsDrawTheirDoubleSizeImages) {
#ifndef QVN_ARTWORK_RENDERED
    GTEST_SKIP() << "this build has no SVG renderer";
#endif
    // The core makes the application object, so the scale is known once it is attached.
    openWithSampleTools();
    if (qApp->devicePixelRatio() < 2.0)
        GTEST_SKIP() << "needs QT_SCALE_FACTOR=2";
    QWidget* record = mainComponent(116)->getWidget();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->size(), QSize(40, 40));
    const QImage drawn = record->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(drawn.size(), QSize(80, 80));
    const std::string images = dataFolder() + "/core/images/";
    const QImage sharp = QImage(QString::fromStdString(images + "record@2x.png"))
                             .convertToFormat(QImage::Format_ARGB32);
    const QImage blown = QImage(QString::fromStdString(images + "record.png"))
                             .scaled(80, 80, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_ARGB32);
    // Compared where both images are opaque: the rounded corners show the window behind.
    auto difference = [&](const QImage& other) {
        long total = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x) {
                if (sharp.pixelColor(x, y).alpha() < 255 || blown.pixelColor(x, y).alpha() < 255)
                    continue;
                const QColor a = drawn.pixelColor(x, y), b = other.pixelColor(x, y);
                total += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                         std::abs(a.blue() - b.blue());
            }
        return total;
    };
    EXPECT_LT(difference(sharp) * 4, difference(blown));
}

TEST_F(MainDlgTest, TheCountdownShowsTheSecondsOnTopAndKeepsItsLayout) {
    attach();
    auto* window = new core::CountDownWindow();
    window->start(3);
    mvk::gui::Component* root = window->getRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(window->isWindowShown());
    auto* dialog = mvk::gui::interfaceOf<mvk::gui::componentinterface::Dialog>(root);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isTopmost());
    EXPECT_EQ(window->find(101)->getLabel(), "<font size=6><b>3</b></font>");
    window->update("2");
    EXPECT_EQ(window->find(101)->getLabel(), "<font size=6><b>2</b></font> ");
    window->hide();
    EXPECT_FALSE(window->isWindowShown());
    window->start(5);
    EXPECT_EQ(window->getRoot(), root);
    EXPECT_EQ(window->find(101)->getLabel(), "<font size=6><b>5</b></font>");
    window->destroy();
}

} // namespace
