// What an animator does to recorded animation in the reference host, checked against the keys
// and the scene file: takes and resimulations replace their range and start from the scene,
// deleting and unplugging a tool lose nothing, and every step undoes exactly.
#include "WindowTestSupport.h"

#include "HostWindow.h"
#include "core/recording/ResimulateWindow.h"
#include "gui/componentinterface/Tree.h"
#include "platform/TickCount.h"
#include "support/ScriptedInteraction.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"
#include "util/xml/Element.h"

#include <QApplication>
#include <QStatusBar>

#include <cmath>
#include <cstdlib>
#include <map>

using mvk::qvn::core::Instance;
using mvk::qvn::core::RecordManager;
using qvn::host::HostWindow;
using qvn::host::Matrix;
using qvn::host::RefNode;

namespace {

using Keys = std::map<double, Matrix>;

class AnimationSafetyTest : public qvn::test::AttachedCore {
protected:
    void SetUp() override {
        AttachedCore::SetUp();
        installSamplePlugins();
        // The pad steers left for a second, then right: takes that start at different times
        // see different input, so a take or resimulation that reads the wrong moment shows.
        const std::string pad = environment.writeFile(environment.root() + "/pad.txt",
                                                      "loop 2\n0 leftx -0.6\n1 leftx 0.9\n");
        setenv("QUORVANE_SIMULATED_GAMEPAD", pad.c_str(), 1);
        mvk::platform::setTickSource([this] { return now; });
        attach();
        implementation()->getSettings().setCountdownSeconds(0);
        window = std::make_unique<HostWindow>(*core, host);
        window->show();
    }
    void TearDown() override {
        window.reset();
        AttachedCore::TearDown();
        mvk::platform::setTickSource({});
        unsetenv("QUORVANE_SIMULATED_GAMEPAD");
    }

    Instance* cameraInstance() const {
        return implementation()->findInstance(camera)->getInstance();
    }
    // Binds the input to the pad's left stick.
    static void bindToTheStick(mvk::unidevice::Property* input) {
        input->bind(mvk::unidevice::DeviceHandler::instance()->findControl(mvk::util::xml::Element(
            "<control device=\"Simulated Gamepad\" type=\"axis\" index=\"0\"/>")));
    }
    // A new orbit camera with its Pan on the pad's left stick; its camera node.
    RefNode* boundCamera() {
        camera = core->createInstance("Orbit Camera");
        if (camera.empty())
            return nullptr;
        auto* pan = cameraInstance()->getProperties()->property("Pan");
        bindToTheStick(pan);
        if (pan->control() == nullptr)
            return nullptr;
        return host.scene.find(camera + "_camera");
    }
    // A take from `from` that records until its clock passes `until`, in 50 ms ticks.
    void take(double from, double until) {
        host.time = from;
        ASSERT_EQ(core->startRecording(), mvk::qvn::ResultOk);
        while (core->isRecording() && implementation()->getRecordTime() < until) {
            now += 50;
            implementation()->onTimer(RecordManager::RecordTimerId, now);
        }
        core->stopRecording();
        QApplication::processEvents();
    }
    void resimulate(double from, double to) {
        implementation()->resimulate(from, to);
        while (implementation()->isResimulating()) {
            now += 10;
            implementation()->getResimulateWindow()->onTimer(
                RecordManager::ResimulateWindow::TimerId, now);
        }
        QApplication::processEvents();
    }
    void setFrameRate(double rate) {
        host.frameRate = rate;
        host.sampleInterval = 1.0 / rate;
    }
    static Keys between(const Keys& keys, double from, double to) {
        Keys part;
        for (const auto& [time, local] : keys)
            if (time >= from - 1e-9 && time <= to + 1e-9)
                part.emplace(time, local);
        return part;
    }
    static double largestDifference(const Keys& a, const Keys& b) {
        if (a.size() != b.size())
            return INFINITY;
        double largest = 0.0;
        for (auto x = a.begin(), y = b.begin(); x != a.end(); ++x, ++y) {
            if (std::abs(x->first - y->first) > 1e-9)
                return INFINITY;
            for (size_t i = 0; i < 16; ++i)
                largest = std::max(largest, std::abs(x->second[i] - y->second[i]));
        }
        return largest;
    }
    // The scene file's node entries: what a saved scene keeps of the host's animation.
    std::string savedNodes() {
        const std::string file = environment.root() + "/nodes.qvscene";
        EXPECT_TRUE(window->saveScene(file)) << window->lastError();
        mvk::util::xml::Element root;
        root.load(file);
        std::string nodes;
        root.forEachChild("node", [&nodes](const mvk::util::xml::Element& node) {
            nodes += node.toString("", "", "");
        });
        return nodes;
    }
    // Every key of every recorded curve of the camera.
    std::vector<std::vector<mvk::util::AVar_Linear<double>::Key>> curves() {
        std::vector<std::vector<mvk::util::AVar_Linear<double>::Key>> all;
        for (const auto& curve : cameraInstance()->getRecordedValues())
            all.push_back(curve.allKeys());
        return all;
    }
    int treeItems() const {
        auto* tree = mvk::gui::interfaceOf<mvk::gui::componentinterface::Tree>(mainComponent(119));
        return tree != nullptr && tree->getRoot() != nullptr ? tree->getRoot()->childCount() : -1;
    }

    std::unique_ptr<HostWindow> window;
    std::string camera;
    uint32_t now = 500000;
};

TEST_F(AnimationSafetyTest, TakesAndResimulationsReplaceTheirRangeAndStartFromTheScene) {
    RefNode* node = boundCamera();
    ASSERT_NE(node, nullptr);
    setFrameRate(30.0);

    // The first take: a key where it starts, then one per sample.
    take(0.0, 3.0);
    const Keys first = node->transformKeys();
    ASSERT_GT(first.size(), 80u);
    EXPECT_EQ(first.begin()->first, 0.0);

    // A second take over the middle replaces the first take there and nowhere else, and starts
    // from the pose the first take left at its start.
    take(1.0, 2.0);
    const Keys second = node->transformKeys();
    const double lastOfSecond = implementation()->getTakeReport().lastSampleTime;
    ASSERT_GT(lastOfSecond, 1.9);
    EXPECT_EQ(between(second, 0.0, 1.0 - 1e-6), between(first, 0.0, 1.0 - 1e-6));
    EXPECT_EQ(between(second, lastOfSecond + 1e-6, 10.0),
              between(first, lastOfSecond + 1e-6, 10.0));
    ASSERT_NE(second.find(1.0), second.end());
    const Matrix firstAtOne = std::prev(first.upper_bound(1.0))->second;
    EXPECT_LT(largestDifference(Keys{{1.0, second.at(1.0)}}, Keys{{1.0, firstAtOne}}), 1e-9);
    EXPECT_NE(between(second, 1.1, lastOfSecond), between(first, 1.1, lastOfSecond));
    EXPECT_EQ(between(second, 1.0, lastOfSecond).size(),
              1u + static_cast<size_t>(implementation()->getTakeReport().samples));

    // Resimulating the unchanged take reproduces it.
    resimulate(1.0, lastOfSecond);
    EXPECT_LT(largestDifference(node->transformKeys(), second), 1e-9);

    // Undoing the second take gives the first back; a new take from the same time starts from
    // the first take's pose again and so matches the second.
    ASSERT_TRUE(host.undo()); // the resimulation
    ASSERT_TRUE(host.undo()); // the second take
    EXPECT_EQ(node->transformKeys(), first);

    // After a frame-rate change a resimulation leaves one key per new frame in its range and
    // none of the old.
    setFrameRate(24.0);
    resimulate(0.0, 3.0);
    const Keys resimulated = node->transformKeys();
    const Keys inRange = between(resimulated, 0.0, 3.0);
    EXPECT_EQ(inRange.size(), 73u);
    for (const auto& [time, local] : inRange)
        EXPECT_NEAR(time * 24.0, std::round(time * 24.0), 1e-6) << "a 30 fps key at " << time;
    EXPECT_EQ(between(resimulated, 3.0 + 1e-6, 10.0), between(first, 3.0 + 1e-6, 10.0));
}

TEST_F(AnimationSafetyTest, AReopenedSceneResimulatesAsBeforeSaving) {
    RefNode* node = boundCamera();
    ASSERT_NE(node, nullptr);
    setFrameRate(30.0);
    take(0.5, 2.5);
    resimulate(0.5, 2.5);
    const Keys before = node->transformKeys();

    const std::string file = environment.root() + "/take.qvscene";
    ASSERT_TRUE(window->saveScene(file)) << window->lastError();
    ASSERT_TRUE(window->openScene(file)) << window->lastError();
    RefNode* again = host.scene.find(camera + "_camera");
    ASSERT_NE(again, nullptr);
    resimulate(0.5, 2.5);
    EXPECT_LT(largestDifference(again->transformKeys(), before), 1e-9);
}

TEST_F(AnimationSafetyTest, DeleteAndUnplugKeepEveryKeyAndUndoExactly) {
    RefNode* node = boundCamera();
    ASSERT_NE(node, nullptr);
    take(0.0, 1.5);
    const Keys keys = node->transformKeys();
    const auto recorded = curves();
    ASSERT_FALSE(recorded.empty());
    ASSERT_FALSE(recorded.front().empty());
    const std::string scene = savedNodes();
    const int items = treeItems();
    ASSERT_EQ(items, 1);

    // Delete with nodes through the main dialog: node and tool go, the status line says so.
    core->openMainDialog();
    implementation()->select(implementation()->findInstance(camera));
    userEvent(mainComponent(104), 0x4142, 104);
    QApplication::processEvents();
    EXPECT_EQ(core->findInstance(camera), nullptr);
    EXPECT_EQ(host.scene.find(camera + "_camera"), nullptr);
    EXPECT_EQ(treeItems(), 0);
    EXPECT_NE(window->statusBar()->currentMessage().indexOf("Ctrl+Z"), -1);

    // One undo brings back the tool, its node, every key and every recorded curve; the tree
    // follows at once.
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(treeItems(), 1);
    ASSERT_NE(core->findInstance(camera), nullptr);
    RefNode* back = host.scene.find(camera + "_camera");
    ASSERT_EQ(back, node);
    EXPECT_EQ(back->transformKeys(), keys);
    EXPECT_EQ(back->owner(), cameraInstance());
    EXPECT_EQ(curves(), recorded);
    EXPECT_EQ(savedNodes(), scene);
    // Redo deletes again, undo restores again.
    ASSERT_TRUE(host.undoStack.redo());
    EXPECT_EQ(host.scene.find(camera + "_camera"), nullptr);
    EXPECT_EQ(treeItems(), 0);
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(savedNodes(), scene);

    // Unplug: the tool goes, its node stays with every key, and the file keeps it.
    implementation()->select(implementation()->findInstance(camera));
    userEvent(mainComponent(108), 0x4142, 108);
    EXPECT_EQ(core->findInstance(camera), nullptr);
    RefNode* kept = host.scene.find(camera + "_camera");
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->transformKeys(), keys);
    EXPECT_EQ(kept->owner(), nullptr);
    EXPECT_EQ(savedNodes(), scene);
    // And undoing the unplug gives the node back to its tool.
    ASSERT_TRUE(host.undo());
    ASSERT_NE(core->findInstance(camera), nullptr);
    EXPECT_EQ(kept->owner(), cameraInstance());
}

TEST_F(AnimationSafetyTest, UndoingACreationTakesItsNodeAndClosesItsInputSettings) {
    RefNode* node = boundCamera();
    ASSERT_NE(node, nullptr);
    cameraInstance()->showInputSettings();
    QWidget* inputs = shownWindow("Inputs for " + camera);
    ASSERT_NE(inputs, nullptr);
    ASSERT_EQ(treeItems(), 1);

    ASSERT_TRUE(host.undo());
    EXPECT_EQ(host.scene.find(camera + "_camera"), nullptr);
    EXPECT_FALSE(inputs->isVisible());
    EXPECT_EQ(treeItems(), 0);

    ASSERT_TRUE(host.undoStack.redo());
    EXPECT_EQ(host.scene.find(camera + "_camera"), node);
    EXPECT_EQ(treeItems(), 1);
}

// A take that changed settings of its tool (an input bound to one of them) gives them back with
// its undo. A take stopped during its countdown records no sample: it leaves no undo step and
// keeps the curves of the take before it.
TEST_F(AnimationSafetyTest, ATakesUndoBringsBackItsSettingsAndATakeWithoutASampleLeavesNoStep) {
    ASSERT_NE(boundCamera(), nullptr);
    Instance* instance = cameraInstance();
    auto* speed = instance->getProperties()->property("Spinner: Turn speed");
    ASSERT_NE(speed, nullptr);
    bindToTheStick(speed);
    const auto settings = [instance] {
        return instance->makeConfigProfile("p").toString("", "", "");
    };
    const std::string before = settings();
    take(0.0, 1.0);
    const std::string after = settings();
    ASSERT_NE(after, before);
    const auto recorded = curves();
    const int steps = host.undoStack.stepCount();

    implementation()->getSettings().setCountdownSeconds(3);
    host.time = 0.0;
    ASSERT_EQ(core->startRecording(), mvk::qvn::ResultOk);
    now += 200;
    implementation()->onTimer(RecordManager::RecordTimerId, now);
    core->stopRecording();
    QApplication::processEvents();
    EXPECT_EQ(host.undoStack.stepCount(), steps);
    EXPECT_EQ(curves(), recorded);
    EXPECT_NE(window->statusBar()->currentMessage().indexOf("recorded nothing"), -1);
    // The last step is still the real take.
    EXPECT_EQ(host.undoStack.stepName(steps - 1), "Record");

    ASSERT_TRUE(host.undo());
    EXPECT_EQ(settings(), before);
    ASSERT_TRUE(host.undoStack.redo());
    EXPECT_EQ(settings(), after);
}

TEST_F(AnimationSafetyTest, UnsavedChangesShowInTheTitleAndAreAskedAbout) {
    qvn::test::ScriptedInteraction script;
    EXPECT_FALSE(window->windowTitle().contains('*'));
    EXPECT_FALSE(window->isModified());
    // No question while nothing changed.
    EXPECT_TRUE(window->confirmDiscard("New Scene"));
    EXPECT_EQ(script.count("messageBox"), 0);

    ASSERT_NE(boundCamera(), nullptr);
    QApplication::processEvents();
    EXPECT_TRUE(window->windowTitle().contains("untitled*"));

    // Cancel keeps the scene; Discard goes on; Save with a name saves first.
    namespace Flag = mvk::platform::MessageBoxFlag;
    script.pushButton(Flag::Cancel);
    EXPECT_FALSE(window->confirmDiscard("Quit"));
    ASSERT_EQ(script.count("messageBox"), 1);
    EXPECT_NE(script.questions().back().text.find("unsaved changes"), std::string::npos);
    script.pushButton(Flag::Discard);
    EXPECT_TRUE(window->confirmDiscard("Quit"));

    const std::string file = environment.root() + "/asked.qvscene";
    script.pushButton(Flag::Save);
    script.pushText(file);
    EXPECT_TRUE(window->confirmDiscard("Open Scene"));
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_FALSE(window->windowTitle().contains('*'));
    // The save dialog started in the documents folder, the next one in the scene's folder.
    EXPECT_EQ(window->dialogFolder(), environment.root());

    // Moving the playhead is no change; a key is.
    window->setTime(1.0);
    EXPECT_FALSE(window->isModified());
    host.scene.find(camera + "_camera")->setLocalTransform(4.0, qvn::host::translation(1, 2, 3));
    EXPECT_TRUE(window->isModified());
}

} // namespace
