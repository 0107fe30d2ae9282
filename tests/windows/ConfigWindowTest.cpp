// The configuration window in an attached core with the sample orbit camera: opening, the page
// of the chosen instance, the title, and the profile commands with their questions, answered by
// the scripted responder. Going back and forth between instances keeps the page of the instance
// shown before, so a page shown again must be the page the user would get from a fresh build:
// the values the instance holds now, the same look, one undo step per change, and nothing left
// behind when its instance goes.
#include "WindowTestSupport.h"

#include "core/libraries/ConfigProfileManager.h"
#include "core/windows/ConfigWindow.h"
#include "gui/Toolkit.h"
#include "gui/componentinterface/ComboBox.h"
#include "gui/componentinterface/Spinner.h"
#include "platform/Interaction.h"
#include "support/ScriptedInteraction.h"

#include <QDoubleSpinBox>
#include <QPointer>
#include <QTest>

#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

using mvk::gui::Component;
using mvk::qvn::core::ConfigWindow;
using mvk::qvn::core::Instance;
using ::testing::ElementsAre;
namespace ci = mvk::gui::componentinterface;
namespace Flag = mvk::platform::MessageBoxFlag;

namespace {

constexpr const char* Forbidden =
    " - name contains forbidden characters. \n The following characters are not allowed: "
    "\\ / : * ? \" < > | . , [ ] ; =";

class ConfigWindowTest : public qvn::test::AttachedCore {
protected:
    void SetUp() override {
        AttachedCore::SetUp();
        installSamplePlugins();
        attach();
        camera = newOrbitCamera();
        ASSERT_NE(camera, nullptr);
        window = implementation()->getConfigWindow();
        ASSERT_NE(window, nullptr);
    }

    Component* component(int32_t id) const {
        return window->getRoot() ? window->getRoot()->findById(id) : nullptr;
    }
    ci::ComboBox* combo() const { return mvk::gui::interfaceOf<ci::ComboBox>(component(101)); }
    void click(int32_t id) { userEvent(component(id), 0x4142, id); }
    // Picks a profile in the combo box the way the user does.
    void choose(const std::string& profile) {
        combo()->setCurrentText(profile);
        userEvent(component(101), 0x41C0, 101);
    }
    void select(Instance* instance) {
        window->selectInstance(instance);
        mvk::gui::Toolkit::processEvents();
    }
    std::string cameraTitle(const std::string& profile) const {
        return "Configuration for " + camera->getName() + " - " + profile;
    }
    Component* pageArea() const { return component(ConfigWindow::PageArea); }
    Component* shownPage() const { return pageArea()->child(0); }
    // The shown page's control of the orbit camera's field of view (element id 0).
    Component* fieldOfView() const {
        return shownPage() != nullptr ? shownPage()->findById(0) : nullptr;
    }
    void setFieldOfView(double degrees) {
        auto* box = static_cast<QDoubleSpinBox*>(fieldOfView()->getWidget());
        box->setValue(degrees);
        QTest::keyClick(box, Qt::Key_Return);
    }
    double shownFieldOfView() const {
        return mvk::gui::interfaceOf<ci::Spinner>(fieldOfView())->getValue();
    }
    // Where every widget of the shown page sits, and how wide it may grow, by object.
    std::map<const QWidget*, std::pair<QRect, int>> pageGeometry() const {
        std::map<const QWidget*, std::pair<QRect, int>> geometry;
        QWidget* page = shownPage()->getWidget();
        for (const QWidget* widget : page->findChildren<QWidget*>())
            if (widget->isVisibleTo(page))
                geometry[widget] = {QRect(widget->mapTo(page, QPoint(0, 0)), widget->size()),
                                    widget->maximumWidth()};
        return geometry;
    }
    std::string profileFile(const std::string& name) const {
        return camera->getTool()->configProfiles().destinationPath() + "/" + name + ".mcp";
    }
    // The prompts of the text questions, and the caption and text of the message boxes.
    std::vector<std::string> asked(const std::string& kind) const {
        std::vector<std::string> result;
        for (const auto& question : answers.questions())
            if (question.kind == kind)
                result.push_back(kind == "textInput" ? question.extra
                                                     : question.caption + ": " + question.text);
        return result;
    }
    std::vector<std::string> prompts() const { return asked("textInput"); }
    std::vector<std::string> boxes() const { return asked("messageBox"); }

    qvn::test::ScriptedInteraction answers;
    Instance* camera = nullptr;
    ConfigWindow* window = nullptr;
};

TEST_F(ConfigWindowTest, OpeningBuildsOnceShowsThePageAndTitlesTheWindow) {
    testing::internal::CaptureStdout();
    window->open(camera);
    window->open(camera);
    std::istringstream output(testing::internal::GetCapturedStdout());
    std::vector<std::string> steps;
    for (std::string line; std::getline(output, line);)
        if (line.rfind("open configwindow: ", 0) == 0)
            steps.push_back(line.substr(19));
    EXPECT_THAT(steps, ElementsAre("1", "3", "4", "5", "6", "7", "1", "2 - already started"));
    EXPECT_TRUE(window->isWindowShown());
    EXPECT_EQ(window->getRoot()->getLabel(), cameraTitle("Start Profile"));
    EXPECT_EQ(shownFieldOfView(), 45.0);
    EXPECT_TRUE(component(113)->isEnabled());
    EXPECT_EQ(combo()->getCurrentText(), "Start Profile");

    // A change through the page marks the title; saving takes the mark away again.
    setFieldOfView(60);
    EXPECT_EQ(window->title(), cameraTitle("Start Profile*"));
    click(103);
    EXPECT_EQ(window->title(), cameraTitle("Start Profile"));
    EXPECT_NE(qvn::test::TestEnvironment::readFile(profileFile("Start Profile")).find("item"),
              std::string::npos);

    // The current values become the start profile of new instances.
    setFieldOfView(70);
    click(113);
    EXPECT_EQ(component(ConfigWindow::StatusLine)->getLabel(), "Start Profile saved");
    EXPECT_EQ(window->title(), cameraTitle("Start Profile"));
    Instance* next = newOrbitCamera();
    window->selectInstance(next);
    EXPECT_EQ(shownFieldOfView(), 70.0);

    // An instance deleted from the tool tree takes its page with it, even while its undo step
    // keeps it alive.
    next->getReference()->deleteReference(true);
    implementation()->refreshTree();
    EXPECT_EQ(window->selectedInstance(), nullptr);
    EXPECT_EQ(pageArea()->childCount(), 0);
    EXPECT_EQ(window->getRoot()->getLabel(), "Configuration for Morvik Quorvane");
    host.undoStack.clear();
    window->selectInstance(camera);
    EXPECT_EQ(shownFieldOfView(), 70.0);

    // Closing hides; opening again starts the same component.
    click(109);
    EXPECT_FALSE(window->isWindowShown());
    window->open(nullptr);
    EXPECT_TRUE(window->isWindowShown());
    EXPECT_EQ(window->title(), "Configuration for Morvik Quorvane");
    EXPECT_FALSE(component(113)->isEnabled());
}

TEST_F(ConfigWindowTest, TheRootShowsTheMainPreferencesAndEachChangeIsOneHostOperation) {
    implementation()->getSettings().setCountdownSeconds(7);
    window->open(implementation()->getRoot()->getInstance());
    Component* page = shownPage();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(mvk::gui::interfaceOf<ci::Spinner>(page->findById(100))->getValue(), 7.0);
    // The main preferences live in the settings file: the profile commands are off.
    EXPECT_FALSE(component(103)->isEnabled());
    EXPECT_EQ(combo()->getCount(), 0);

    auto* countdown = static_cast<QDoubleSpinBox*>(page->findById(100)->getWidget());
    countdown->setValue(4);
    EXPECT_EQ(implementation()->getSettings().countdownSeconds(), 4);
    const auto& history = host.undoStack.history();
    EXPECT_THAT(std::vector<std::string>(history.end() - 2, history.end()),
                ElementsAre("begin:Countdown", "accept:Countdown"));
}

TEST_F(ConfigWindowTest, ANewNameIsAskedForUntilItIsAcceptableOrGiven) {
    window->open(camera);
    // Every forbidden character asks again, with the name kept in the prompt.
    const std::string forbidden = "*.\"/\\[]:;|=,?><";
    for (char character : forbidden)
        answers.pushText(std::string("a") + character + "b");
    // An existing name: No asks again, then Yes overwrites.
    answers.pushText("Start Profile");
    answers.pushButton(Flag::No);
    answers.pushText("Start Profile");
    answers.pushButton(Flag::Yes);
    click(111);
    std::vector<std::string> expected{"Select a new name"};
    for (char character : forbidden)
        expected.push_back(std::string("a") + character + "b" + Forbidden);
    expected.push_back("Start Profile - name already exists.");
    EXPECT_EQ(prompts(), expected);
    EXPECT_THAT(boxes(), ElementsAre("Overwrite?: This will overwrite the profile Start Profile, "
                                     "do you wish to continue?",
                                     "Overwrite?: This will overwrite the profile Start Profile, "
                                     "do you wish to continue?"));
    for (char character : forbidden)
        EXPECT_FALSE(combo()->findItem(std::string("a") + character + "b") >= 0);

    // New starts from the factory settings; a cancelled question changes nothing.
    setFieldOfView(90);
    answers.pushText("Wide shot");
    click(104);
    EXPECT_EQ(shownFieldOfView(), 45.0);
    EXPECT_TRUE(std::filesystem::exists(profileFile("Wide shot")));
    EXPECT_EQ(window->title(), cameraTitle("Wide shot"));
    click(104);
    EXPECT_EQ(combo()->getCurrentText(), "Wide shot");
}

TEST_F(ConfigWindowTest, SwitchingWithUnsavedChangesAsksAndEachAnswerDoesWhatItSays) {
    window->open(camera);
    answers.pushText("Close");
    click(111);
    answers.pushText("Far");
    setFieldOfView(20);
    click(111);
    ASSERT_EQ(combo()->getCurrentText(), "Far");

    // Without changes the switch is immediate.
    choose("Close");
    EXPECT_EQ(shownFieldOfView(), 45.0);
    EXPECT_TRUE(boxes().empty());

    setFieldOfView(30);
    const auto chooseAnswering = [&](const std::string& name, int answer) {
        answers.pushButton(answer);
        choose(name);
    };
    chooseAnswering("Far", Flag::Cancel);
    EXPECT_EQ(combo()->getCurrentText(), "Close");
    EXPECT_EQ(shownFieldOfView(), 30.0);
    EXPECT_TRUE(window->hasUnsavedChanges());
    chooseAnswering("Far", Flag::Discard);
    EXPECT_EQ(shownFieldOfView(), 20.0);
    EXPECT_FALSE(window->hasUnsavedChanges());
    setFieldOfView(33);
    chooseAnswering("Close", Flag::Save);
    EXPECT_EQ(shownFieldOfView(), 45.0);
    EXPECT_NE(qvn::test::TestEnvironment::readFile(profileFile("Far")), "");
    chooseAnswering("Far", Flag::Ok);
    EXPECT_EQ(shownFieldOfView(), 33.0) << "the answer Save stored the changes first";
    EXPECT_THAT(boxes(), ElementsAre("Save?: Do you wish to save your changes to Close?",
                                     "Save?: Do you wish to save your changes to Close?",
                                     "Save?: Do you wish to save your changes to Far?"));
}

TEST_F(ConfigWindowTest, ExportImportRenameAndDeleteKeepToTheProfileFolder) {
    window->open(camera);
    setFieldOfView(75);
    const std::string exported = environment.root() + "/outside/Studio.mcp";
    std::filesystem::create_directories(environment.root() + "/outside");
    // The responder answers file dialogs from the same text script.
    answers.pushText(exported);
    click(106);
    ASSERT_TRUE(std::filesystem::exists(exported));
    EXPECT_EQ(answers.questions().back().kind, "saveFileName");
    EXPECT_EQ(answers.questions().back().extra, "|Morvik Config Profiles (*.mcp)");
    setFieldOfView(50);
    answers.pushText(exported);
    click(105);
    ASSERT_GE(combo()->findItem("Studio"), 0);
    answers.pushButton(Flag::Discard);
    choose("Studio");
    EXPECT_EQ(shownFieldOfView(), 75.0) << "export then import gives the same values";

    // Importing a profile of a name the store holds replaces it; only the reserved name is
    // refused.
    setFieldOfView(60);
    click(103);
    answers.pushText(exported);
    const size_t asked = boxes().size();
    click(105);
    EXPECT_EQ(boxes().size(), asked);
    choose("Start Profile");
    choose("Studio");
    EXPECT_EQ(shownFieldOfView(), 75.0);
    const std::string reserved = environment.root() + "/outside/Reserved.mcp";
    environment.writeFile(reserved, "<configprofiles version=\"2.0\"><configprofile "
                                    "version=\"2.0\" name=\"Factory Settings\"/></configprofiles>");
    answers.pushText(reserved);
    click(105);
    EXPECT_EQ(boxes().back(),
              "Morvik Quorvane: The profile already exists and cannot be overwritten.");

    // Renaming keeps both files until the new one is written; an example is never renamed.
    answers.pushText("Studio B");
    click(110);
    EXPECT_TRUE(std::filesystem::exists(profileFile("Studio B")));
    EXPECT_FALSE(std::filesystem::exists(profileFile("Studio")));
    EXPECT_TRUE(std::filesystem::exists(exported));
    combo()->setEditable(true);
    combo()->setCurrentText("Example: Crane");
    click(110);
    EXPECT_EQ(boxes().back(), "Morvik Quorvane: Cannot rename example profiles.");

    // Deleting asks even in silent mode.
    mvk::platform::setSilent(true);
    combo()->setCurrentText("Studio B");
    answers.pushButton(Flag::Yes);
    click(107);
    mvk::platform::setSilent(false);
    EXPECT_EQ(boxes().back(), "Morvik Quorvane: Do you really want to delete the profile: "
                              "Studio B?");
    EXPECT_FALSE(std::filesystem::exists(profileFile("Studio B")));
    EXPECT_EQ(combo()->findItem("Studio B"), -1);
}

// Installed profiles are shown and may be saved: the save writes the user's own copy, which
// hides the installed file until it is deleted. Only the examples are kept as shipped.
TEST_F(ConfigWindowTest,
       SavingAnInstalledProfileWritesTheUsersCopyAndBrokenFilesLeaveTheWindowWorking) {
    const std::string installed = dataFolder() + "/tools/orbitcamera/configprofiles";
    std::filesystem::create_directories(installed);
    environment.writeFile(installed + "/Factory Look.mcp",
                          "<configprofiles version=\"2.0\"><configprofile version=\"2.0\" "
                          "name=\"Factory Look\"/></configprofiles>");
    environment.writeFile(installed + "/Example Wide.mcp",
                          "<configprofiles version=\"2.0\"><configprofile version=\"2.0\" "
                          "name=\"Example: Wide\"/></configprofiles>");
    const std::string own = camera->getTool()->configProfiles().destinationPath();
    std::filesystem::create_directories(own);
    environment.writeFile(own + "/Broken.mcp", "<configprofiles><configprofile");
    environment.writeFile(own + "/Other tool.mcp",
                          "<inputprofiles><profile name=\"x\"/></inputprofiles>");
    camera->getTool()->configProfiles().reload();
    window->open(camera);
    EXPECT_GE(combo()->findItem("Factory Look"), 0);
    EXPECT_EQ(combo()->findItem("Broken"), -1);

    choose("Factory Look");
    click(110);
    EXPECT_EQ(boxes().back(), "Morvik Quorvane: Cannot rename this profile.");
    setFieldOfView(10);
    const size_t asked = boxes().size();
    click(103);
    EXPECT_EQ(boxes().size(), asked);
    EXPECT_EQ(window->title(), cameraTitle("Factory Look"));
    EXPECT_NE(qvn::test::TestEnvironment::readFile(own + "/Factory Look.mcp").find("item"),
              std::string::npos);
    EXPECT_EQ(qvn::test::TestEnvironment::readFile(installed + "/Factory Look.mcp").find("item"),
              std::string::npos);
    camera->getTool()->configProfiles().reload();
    EXPECT_EQ(camera->getTool()->configProfiles().fileOf("Factory Look"),
              own + "/Factory Look.mcp");

    // Deleting the copy: the installed profile comes back, is shown and is loaded.
    combo()->setCurrentText("Factory Look");
    answers.pushButton(Flag::Yes);
    click(107);
    EXPECT_FALSE(std::filesystem::exists(own + "/Factory Look.mcp"));
    EXPECT_EQ(combo()->getCurrentText(), "Factory Look");
    EXPECT_EQ(camera->getConfigProfileName(), "Factory Look");
    EXPECT_EQ(window->title(), cameraTitle("Factory Look"));

    choose("Example: Wide");
    setFieldOfView(20);
    click(103);
    EXPECT_EQ(boxes().back(), "Morvik Quorvane: The specified profile is considered read-only "
                              "and cannot be overwritten.");
    EXPECT_FALSE(std::filesystem::exists(own + "/Example: Wide.mcp"));

    // The window still works.
    answers.pushText("Mine");
    click(111);
    EXPECT_TRUE(std::filesystem::exists(own + "/Mine.mcp"));
}

TEST_F(ConfigWindowTest, AThousandProfilesAndANameThatWouldLeaveTheFolderKeepTheWindowWorking) {
    const std::string own = camera->getTool()->configProfiles().destinationPath();
    std::filesystem::create_directories(own);
    for (int i = 0; i < 1000; ++i)
        environment.writeFile(own + "/Take " + std::to_string(i) + ".mcp",
                              "<configprofile version=\"2.0\" name=\"Take " + std::to_string(i) +
                                  "\"/>");
    environment.writeFile(own + "/Escape.mcp",
                          "<configprofile version=\"2.0\" name=\"../../Escape\"/>");
    camera->getTool()->configProfiles().reload();
    const auto outside = [&] {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(own + "/.."))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<std::string> before = outside();
    window->open(camera);
    EXPECT_GE(combo()->getCount(), 1000);

    // Whatever the user picks, nothing is written beside the profile folder.
    if (combo()->findItem("../../Escape") >= 0) {
        choose("../../Escape");
        setFieldOfView(12);
        click(103);
    }
    answers.pushText("Take 999");
    answers.pushButton(Flag::Yes);
    click(111);
    EXPECT_EQ(combo()->getCurrentText(), "Take 999");
    EXPECT_EQ(outside(), before);
    EXPECT_FALSE(std::filesystem::exists(environment.root() + "/Escape.mcp"));
}

// A profile applied through the core interface and a rename of the tool, from outside the
// window: the combo box, the title and its unsaved mark follow.
TEST_F(ConfigWindowTest, TheWindowFollowsAProfileAppliedThroughTheCoreAndARenameOfItsTool) {
    window->open(camera);
    setFieldOfView(75);
    answers.pushText("Wide");
    click(111);
    choose("Start Profile");
    setFieldOfView(20);
    EXPECT_EQ(window->title(), cameraTitle("Start Profile") + "*");

    core->applyConfigProfile(camera->getName(), "Wide");
    EXPECT_EQ(combo()->getCurrentText(), "Wide");
    EXPECT_EQ(window->getRoot()->getLabel(), cameraTitle("Wide"));
    EXPECT_FALSE(window->hasUnsavedChanges());
    EXPECT_EQ(shownFieldOfView(), 75.0);

    implementation()->findInstance(camera->getName())->rename("Crane Cam");
    ASSERT_EQ(camera->getName().rfind("Crane Cam", 0), 0u);
    EXPECT_EQ(window->getRoot()->getLabel(), cameraTitle("Wide"));
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(window->getRoot()->getLabel(), cameraTitle("Wide"));
}

// The tool destroyed while one of the window's prompts or file dialogs is up: the command
// stops when the dialog returns, and the window goes on without the tool.
TEST_F(ConfigWindowTest, AToolDestroyedWhileAPromptOrFileDialogIsUpLeavesTheWindowWorking) {
    // A profile "Gone" to import, kept outside the store.
    const std::string imported = environment.root() + "/Gone.mcp";
    const std::string exported = environment.root() + "/Lost.mcp";
    window->open(camera);
    answers.pushText(imported);
    click(106);
    ASSERT_TRUE(std::filesystem::exists(imported));
    for (const int32_t button : {104, 111, 105, 106}) {
        SCOPED_TRACE(button);
        Instance* doomed = newOrbitCamera();
        const std::string name = doomed->getName();
        window->open(doomed);
        answers.whileNextQuestionIsUp([doomed] { doomed->destroy(); });
        answers.pushText(button == 105 ? imported : button == 106 ? exported : "Gone");
        click(button);
        EXPECT_EQ(core->findInstance(name), nullptr);
        EXPECT_EQ(window->title().find(name), std::string::npos) << window->title();
        EXPECT_FALSE(camera->getTool()->configProfiles().hasElement("Gone"));
    }
    EXPECT_FALSE(std::filesystem::exists(exported)) << "nothing exported for a deleted tool";
    window->open(camera);
    EXPECT_EQ(window->title(), cameraTitle("Start Profile"));
}

// Going back and forth between two instances: a page shown again looks as when it was first
// shown, also after the window was closed. A change on a page is one host step named after its
// control, and the page follows its undo and redo while it is shown; undone while another
// instance is shown, the page must not come back with the undone value. The kept page of an
// instance goes with the instance.
TEST_F(ConfigWindowTest, APageShownAgainLooksTheSameHoldsTheInstancesValuesAndGoesWithIt) {
    Instance* second = newOrbitCamera();
    ASSERT_NE(second, nullptr);
    window->open(camera);
    mvk::gui::Toolkit::processEvents();
    const auto built = pageGeometry();
    ASSERT_FALSE(built.empty());
    select(second);
    select(camera);
    EXPECT_EQ(pageGeometry(), built);
    // Closing the window and opening it again shows every box again; the page keeps its look.
    const QSize windowSize = window->getRoot()->getWidget()->size();
    window->hideWindow();
    window->open(camera);
    // Placement may give the window another size; at the same size the page looks the same.
    window->getRoot()->getWidget()->resize(windowSize);
    mvk::gui::Toolkit::processEvents();
    EXPECT_EQ(pageGeometry(), built);

    const int steps = host.undoStack.stepCount();
    setFieldOfView(60);
    ASSERT_EQ(host.undoStack.stepCount(), steps + 1);
    EXPECT_EQ(host.undoStack.stepName(steps), "Field of view");
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(shownFieldOfView(), 45.0);
    EXPECT_NE(core->findInstance(camera->getName()), nullptr) << "the creation before it stays";
    ASSERT_TRUE(host.undoStack.redo());
    EXPECT_EQ(shownFieldOfView(), 60.0);

    select(second);
    EXPECT_EQ(shownFieldOfView(), 45.0) << "the other instance has its own values";
    EXPECT_EQ(pageArea()->childCount(), 1) << "only the shown page hangs in the window";
    ASSERT_TRUE(host.undoStack.undo());
    select(camera);
    EXPECT_EQ(pageArea()->childCount(), 1);
    EXPECT_EQ(shownFieldOfView(), 45.0);
    EXPECT_EQ(window->title().rfind("Configuration for " + camera->getName(), 0), 0u);

    // A change on the page shown again is one host step, and it reaches this instance only.
    setFieldOfView(80);
    EXPECT_EQ(host.undoStack.stepCount(), steps + 1);
    select(second);
    EXPECT_EQ(shownFieldOfView(), 45.0);
    select(camera);
    EXPECT_EQ(shownFieldOfView(), 80.0);

    const QPointer<QWidget> firstPage = shownPage()->getWidget();
    select(second);
    ASSERT_FALSE(firstPage.isNull()) << "the page of the instance shown before is kept";
    // Deleted from the tool tree, the instance lives on in its undo step; it goes with the step.
    camera->getReference()->deleteReference(true);
    implementation()->refreshTree();
    host.undoStack.clear();
    mvk::gui::Toolkit::processEvents();
    EXPECT_TRUE(firstPage.isNull());

    // A new instance gets a page of its own, with its own values.
    Instance* third = newOrbitCamera();
    ASSERT_NE(third, nullptr);
    select(third);
    EXPECT_NE(shownPage()->getWidget(), firstPage.data());
    EXPECT_EQ(shownFieldOfView(), 45.0);
    setFieldOfView(30);
    select(second);
    EXPECT_EQ(shownFieldOfView(), 45.0);
}

// Coming back to the main dialog only tells the host: the configuration window stays on the
// tool it shows even when the tree selects another.
TEST_F(ConfigWindowTest, ActivatingTheMainDialogLeavesTheWindowOnItsTool) {
    Instance* second = newOrbitCamera();
    ASSERT_NE(second, nullptr);
    core->openMainDialog();
    implementation()->select(camera->getReference());
    window->open(second);
    ASSERT_EQ(window->selectedInstance(), second);
    host.notices.clear();

    userEvent(core->getMainWindow(), 0x4100, 0);
    EXPECT_EQ(window->selectedInstance(), second);
    EXPECT_EQ(host.notices, std::vector<std::string>{"activated"});
}

// The unsaved mark follows the values, not the history of changes: values brought back to the
// stored profile (by the host's undo, by typing the old value again, also while another instance
// is shown) lose it, and an undo that reaches a page kept aside marks its own instance only.
TEST_F(ConfigWindowTest, TheUnsavedMarkFollowsTheValuesThroughUndoAndOtherInstances) {
    window->open(camera);
    auto shownTitle = [this] { return window->getRoot()->getLabel(); };
    setFieldOfView(60);
    EXPECT_EQ(shownTitle(), cameraTitle("Start Profile*"));
    ASSERT_TRUE(host.undoStack.undo());
    EXPECT_EQ(shownTitle(), cameraTitle("Start Profile"));
    ASSERT_TRUE(host.undoStack.redo());
    EXPECT_EQ(shownTitle(), cameraTitle("Start Profile*"));
    setFieldOfView(45);
    EXPECT_EQ(shownTitle(), cameraTitle("Start Profile"));
    // Two changes, one undone: the values still differ from the profile.
    setFieldOfView(50);
    setFieldOfView(55);
    ASSERT_TRUE(host.undoStack.undo());
    EXPECT_EQ(shownTitle(), cameraTitle("Start Profile*"));
    ASSERT_TRUE(host.undoStack.undo());
    EXPECT_EQ(shownTitle(), cameraTitle("Start Profile"));

    Instance* second = newOrbitCamera();
    ASSERT_NE(second, nullptr);
    const std::string secondTitle = "Configuration for " + second->getName() + " - Start Profile";
    setFieldOfView(60);
    select(second);
    EXPECT_EQ(shownTitle(), secondTitle) << "the mark belongs to the instance changed";
    ASSERT_TRUE(host.undoStack.undo());
    EXPECT_EQ(shownTitle(), secondTitle);
    EXPECT_FALSE(window->hasUnsavedChanges());
    select(camera);
    EXPECT_EQ(shownTitle(), cameraTitle("Start Profile"));
    select(second);
    ASSERT_TRUE(host.undoStack.redo());
    EXPECT_EQ(shownTitle(), secondTitle);
    select(camera);
    EXPECT_EQ(shownTitle(), cameraTitle("Start Profile*"));

    // Saved, and read back from its file as in a later session: only a real change marks it.
    click(103);
    ASSERT_EQ(shownTitle(), cameraTitle("Start Profile"));
    camera->getTool()->configProfilesOf(*camera).reload();
    setFieldOfView(20);
    EXPECT_EQ(shownTitle(), cameraTitle("Start Profile*"));
    ASSERT_TRUE(host.undoStack.undo());
    EXPECT_EQ(shownTitle(), cameraTitle("Start Profile"));
}

} // namespace
