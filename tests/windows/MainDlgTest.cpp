#include "WindowTestSupport.h"

#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "core/libraries/LibraryManager.h"
#include "core/libraries/Tool.h"
#include "core/recording/ResimulateWindow.h"
#include "core/windows/ToolMenus.h"
#include "gui/componentinterface/Button.h"
#include "gui/componentinterface/Spinner.h"
#include "gui/componentinterface/Tree.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/WinDriver.h"
#include "util/Message.h"

#include <QAbstractButton>
#include <QAction>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

using namespace mvk::qvn;
using mvk::gui::Component;
namespace ci = mvk::gui::componentinterface;

namespace {

constexpr int32_t MenuCommand = 0x4300;

class MainDlgTest : public qvn::test::AttachedCore {
protected:
    void attachAndOpen() {
        attach();
        ASSERT_EQ(core->openMainDialog(), ResultOk);
    }
    void click(int32_t id) {
        Component* button = mainComponent(id);
        ASSERT_NE(button, nullptr) << id;
        auto* widget = qobject_cast<QAbstractButton*>(button->getWidget());
        ASSERT_NE(widget, nullptr) << id;
        widget->click();
    }
    void menuCommand(int32_t id) { userEvent(mainComponent(135), MenuCommand, id); }
    int toolCount() const { return implementation()->getRoot()->childCount(); }
    // The names of the host undo steps made since the stack held `from` steps.
    std::vector<std::string> stepsSince(int from) const {
        std::vector<std::string> names;
        for (int step = from; step < host.undoStack.stepCount(); ++step)
            names.push_back(host.undoStack.stepName(step));
        return names;
    }
    QMenu* createMenu(const char* title) const {
        auto* bar = qobject_cast<QMenuBar*>(mainComponent(135)->getWidget());
        for (QMenu* menu : bar->findChildren<QMenu*>())
            if (menu->title() == QString::fromUtf8(title))
                return menu;
        return nullptr;
    }
    static bool hasItem(QMenu* menu, int32_t id) {
        for (QAction* action : menu->actions())
            if (action->data().isValid() && action->data().toInt() == id)
                return true;
        return false;
    }
};

TEST_F(MainDlgTest, OpensTitledAndAnswersTheDialogCodes) {
    attach();
    ASSERT_NE(core->getMainWindow(), nullptr);
    EXPECT_FALSE(core->isMainDialogOpen());
    EXPECT_EQ(core->closeMainDialog(), ResultMainDialogNotOpen);
    EXPECT_EQ(core->openMainDialog(), ResultOk);
    EXPECT_TRUE(core->isMainDialogOpen());
    EXPECT_EQ(core->getMainWindow()->getLabel(), "Morvik Quorvane v9.2.1");
    EXPECT_EQ(core->openMainDialog(), ResultMainDialogOpen);
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

TEST_F(MainDlgTest, CreateMenuItemsAndButtonsMakeInstancesOfTheirTool) {
    attachAndOpen();
    const std::vector<core::Tool*> tools = core::ToolMenus::toolList();
    ASSERT_GE(tools.size(), 4u);
    core::Tool* fourth = tools[3];
    const int button =
        core::MainDlg::CreateButtons[static_cast<size_t>(core::ToolMenus::groupOf(*fourth))];

    // Without the sample modules no category has a tool to offer: the built-in plug-ins that
    // templates build on are not menu entries, so the buttons and their menus are hidden and a
    // click on a button makes nothing.
    QWidget* buttonWidget = mainComponent(button)->getWidget();
    EXPECT_FALSE(buttonWidget->isVisibleTo(buttonWidget->window()));
    for (const char* title :
         {"Create Vehicle tool", "Create Camera tool", "Create Accessory tool"}) {
        ASSERT_NE(createMenu(title), nullptr) << title;
        EXPECT_TRUE(createMenu(title)->isEmpty()) << title;
        EXPECT_FALSE(createMenu(title)->menuAction()->isVisible()) << title;
    }
    click(button);
    EXPECT_EQ(toolCount(), 0);

    menuCommand(0x5003);
    ASSERT_EQ(fourth->instanceCount(), 1);
    EXPECT_EQ(toolCount(), 1);
    EXPECT_EQ(implementation()->getRoot()->child(0)->getInstance()->getTool(), fourth);

    // Its category's button now shows and makes more of it.
    EXPECT_TRUE(buttonWidget->isVisibleTo(buttonWidget->window()));
    click(button);
    EXPECT_EQ(fourth->instanceCount(), 2);

    // Ids past the tool list make nothing.
    menuCommand(0x5000 + static_cast<int32_t>(tools.size()));
    menuCommand(0x6000 + static_cast<int32_t>(tools.size()));
    EXPECT_EQ(toolCount(), 2);
}

TEST_F(MainDlgTest, CreateMenusRebuildWhenTheLibrariesChange) {
    attachAndOpen();
    QMenu* templates = createMenu("Create Template");
    ASSERT_NE(templates, nullptr);
    const std::string crane =
        qvn::test::TestEnvironment::stageRoot() + "/quorvane/prm/crane/crane.prm";
    ASSERT_EQ(core::LibraryManager::instance()->loadLibrary(crane), 0);
    const std::vector<core::Tool*> tools = core::ToolMenus::toolList();
    ASSERT_EQ(tools.back()->kind(), core::Tool::KindTemplate);
    const int32_t item = 0x6000 + static_cast<int32_t>(tools.size()) - 1;
    EXPECT_FALSE(hasItem(templates, item));

    mvk::util::MessageNode libraries("libraries");
    mvk::util::Message changed(0x8000);
    libraries.send(core, changed);
    EXPECT_TRUE(hasItem(templates, item));
    EXPECT_FALSE(hasItem(createMenu("Create Vehicle tool"), item));

    // The new entry makes the template's tool tree.
    menuCommand(item);
    EXPECT_EQ(toolCount(), 1);
}

// The record button starts a take (with the countdown window in front) and stops it again; the
// button shows the pressed state exactly while the take runs.
TEST_F(MainDlgTest, RecordButtonStartsAndStopsATakeWithTheCountdownShowing) {
    attachAndOpen();
    auto* button = mvk::gui::interfaceOf<ci::Button>(mainComponent(116));
    ASSERT_NE(button, nullptr);

    const int steps = host.undoStack.stepCount();
    click(116);
    EXPECT_TRUE(core->isRecording());
    EXPECT_TRUE(button->isChecked());
    EXPECT_TRUE(countdownShown());

    click(116);
    EXPECT_FALSE(core->isRecording());
    EXPECT_FALSE(button->isChecked());
    EXPECT_FALSE(countdownShown());
    // The whole take is one host undo step.
    EXPECT_EQ(stepsSince(steps), std::vector<std::string>{"Record"});
    // The status line reports it, in the window rather than only to the host.
    auto* status = qobject_cast<QLabel*>(mainComponent(core::MainDlg::StatusLine)->getWidget());
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->text().startsWith("Take 1: ")) << status->text().toStdString();
    EXPECT_TRUE(status->text().endsWith(" late")) << status->text().toStdString();
}

// The close button destroys the window whose click it is handling.
TEST_F(MainDlgTest, AboutBoxOpensFromTheMenuAndItsCloseButtonDestroysIt) {
    attachAndOpen();
    menuCommand(core::MainDlg::CommandAbout);
    Component* about = implementation()->getAboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isShown());
    auto* close = qobject_cast<QAbstractButton*>(about->findById(300)->getWidget());
    ASSERT_NE(close, nullptr);
    close->click();
    EXPECT_EQ(implementation()->getAboutWindow(), nullptr);
}

// The tree commands work on the selected tool, each as one host undo step.
TEST_F(MainDlgTest, TreeCommandsCloneDeleteAndUnplugTheSelectedTool) {
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
    auto* status = qobject_cast<QLabel*>(mainComponent(core::MainDlg::StatusLine)->getWidget());
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->text().startsWith(QString::fromStdString("Deleted " + copyName)));
    // The host's undo brings it back, and the status line no longer says it was deleted.
    EXPECT_TRUE(host.undo());
    EXPECT_NE(core->findInstance(copyName), nullptr);
    EXPECT_EQ(status->text().toStdString(), "Brought back " + copyName);
    EXPECT_TRUE(host.undoStack.redo());
    EXPECT_EQ(status->text().toStdString(), "Removed " + copyName + " again");
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
}

// Unticking a tool in the tree leaves it out of the next take.
TEST_F(MainDlgTest, TheTickColumnChoosesTheToolsATakeRecords) {
    attachAndOpen();
    ASSERT_FALSE(core->createInstance("Group").empty());
    ASSERT_FALSE(core->createInstance("Group").empty());
    auto* tree = mvk::gui::interfaceOf<ci::Tree>(mainComponent(119));
    ASSERT_NE(tree, nullptr);
    tree->getRoot()->child(0)->setFlag(0, ci::Tree::Unset);
    userEvent(mainComponent(119), 0x4282, 0);
    const std::vector<core::Instance*> ticked = implementation()->checkedInstances();
    core::InstanceReference* root = implementation()->getRoot();
    auto has = [&ticked](core::InstanceReference* reference) {
        return std::find(ticked.begin(), ticked.end(), reference->getInstance()) != ticked.end();
    };
    EXPECT_FALSE(has(root->child(0)));
    EXPECT_TRUE(has(root->child(1)));
}

// The tree's context menu: "New tool" entries create below the item, one per creatable tool.
TEST_F(MainDlgTest, NewToolFromTheTreeMenuCreatesBelowTheSelectedItem) {
    installSamplePlugins();
    attachAndOpen();
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
TEST_F(MainDlgTest, TheSlowMotionSpinnerFollowsAResimulationAndRefusesStepsDuringIt) {
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

    // Cancelled through the progress window's own button.
    Component* progress = implementation()->getResimulateWindow()->getWindow();
    ASSERT_NE(progress, nullptr);
    auto* cancel = qobject_cast<QAbstractButton*>(progress->findById(99)->getWidget());
    ASSERT_NE(cancel, nullptr);
    cancel->click();
    EXPECT_FALSE(implementation()->isResimulating());
    EXPECT_EQ(core->getSlowMotion(), 3);
    EXPECT_EQ(spinner->getValueRounded(), 3);
    spinner->setValue(2);
    userEvent(mainComponent(115), 0x4200, 2);
    EXPECT_EQ(core->getSlowMotion(), 2);
}

// A create button given a tool shows the images of the tool's data folder, and those of its
// installed folder when the data folder has none.
TEST_F(MainDlgTest, ACreateButtonShowsTheImagesOfItsToolsDataFolder) {
    installSamplePlugins();
    attachAndOpen();
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
    Component* button = mainComponent(core::MainDlg::CreateButtons[1]);
    ASSERT_NE(button, nullptr);
    // The share of the button's pixels in a colour.
    const auto share = [button](QRgb colour) {
        const QImage shot = button->getWidget()->grab().toImage();
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

// The window driver's devices work with the main window's native window, handed over when a
// take is prepared.
TEST_F(MainDlgTest, TheWindowDriverGetsTheMainWindowsNativeHandleWhenATakeIsPrepared) {
    attachAndOpen();
    auto* windows = dynamic_cast<mvk::unidevice::WinDriver*>(
        mvk::unidevice::DeviceHandler::instance()->driver("windriver"));
    ASSERT_NE(windows, nullptr);
    click(116);
    ASSERT_TRUE(core->isRecording());
    const WId native = core->getMainWindow()->getWidget()->window()->winId();
    EXPECT_NE(native, WId(0));
    EXPECT_EQ(windows->param(), static_cast<uintptr_t>(native));
    click(116);
}

} // namespace
