// The reference host's window with an attached core and the sample orbit camera: a tool made
// through the core's main dialog shows up in the viewport and the timeline, scrubbing moves the
// host's clock, and the scene file keeps tools, nodes and keys. At rest the window draws nothing,
// and what the core changes meanwhile (the clock a take or a resimulation moves, keys it writes)
// still shows within a fraction of a second, also after a long quiet spell.
#include "WindowTestSupport.h"

#include "HostWindow.h"
#include "Timeline.h"
#include "Viewport.h"
#include "core/libraries/Tool.h"
#include "core/windows/ToolMenus.h"

#include <QDoubleSpinBox>
#include <QImage>
#include <QLabel>
#include <QTest>

#include <memory>

using qvn::host::HostWindow;
using qvn::host::Matrix;
using qvn::host::RefNode;
using qvn::host::translation;

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

class HostWindowTest : public qvn::test::AttachedCore {
protected:
    void SetUp() override {
        AttachedCore::SetUp();
        installSamplePlugins();
        attach();
    }
    void openWindow() {
        window = std::make_unique<HostWindow>(*core, host);
        window->resize(900, 600);
        window->show();
    }
    void TearDown() override {
        window.reset();
        AttachedCore::TearDown();
    }
    // The camera node of a new orbit camera, keyed from x = 0 at 0 s to x = 6 at 2 s.
    RefNode* keyedCamera(const std::string& instance) {
        RefNode* node = host.scene.find(instance + "_camera");
        if (node != nullptr) {
            node->setLocalTransform(0.0, translation(0, 0, 10));
            node->setLocalTransform(2.0, translation(6, 0, 10));
        }
        return node;
    }
    void clickTimeline(double x) {
        QTest::mouseClick(&window->timeline(), Qt::LeftButton, {},
                          QPoint(static_cast<int>(std::lround(x)), 50));
    }
    // Whether the viewport draws something other than its background at `at`.
    bool drawnAt(QPointF at) const {
        const QImage image = window->viewport().grab().toImage();
        return image.pixelColor(at.toPoint()) != QColor(248, 250, 252);
    }
    // Runs the event loop until `done` or `milliseconds` pass; whether `done` came true.
    template <typename Done> bool waitFor(Done done, int milliseconds) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < milliseconds)
            QTest::qWait(10);
        return done();
    }
    bool clockShows(const QString& text) const {
        for (const QLabel* label : window->findChildren<QLabel*>())
            if (label->text().contains(text))
                return true;
        return false;
    }

    std::unique_ptr<HostWindow> window;
};

TEST_F(HostWindowTest, AToolMadeThroughTheCoreFollowsTheTimeTheTimelineSets) {
    openWindow();
    window->openTools();
    ASSERT_TRUE(core->isMainDialogOpen());
    const std::vector<mvk::qvn::core::Tool*> tools = mvk::qvn::core::ToolMenus::toolList();
    const auto orbit = std::find_if(tools.begin(), tools.end(), [](auto* tool) {
        return tool->identifiers().front() == "Orbit Camera";
    });
    ASSERT_NE(orbit, tools.end());
    userEvent(mainComponent(135), 0x4300, 0x5000 + static_cast<int32_t>(orbit - tools.begin()));
    ASSERT_EQ(implementation()->getRoot()->childCount(), 1);
    const std::string camera = implementation()->getRoot()->child(0)->getName();
    RefNode* node = keyedCamera(camera);
    ASSERT_NE(node, nullptr);
    window->refresh();

    // The keyed node is the one shown, with its keys on the timeline.
    EXPECT_EQ(window->viewport().selectedNode(), node->getName());
    EXPECT_EQ(window->timeline().keyTimes(), (std::vector<double>{0.0, 2.0}));

    // Scrubbing stays inside the range and lands on frames.
    clickTimeline(window->timeline().width() - 1);
    EXPECT_DOUBLE_EQ(host.time, host.rangeEnd);
    clickTimeline(0);
    EXPECT_DOUBLE_EQ(host.time, host.rangeStart);
    const auto atStart = window->viewport().nodePosition(node->getName());
    ASSERT_TRUE(atStart.has_value());
    EXPECT_TRUE(drawnAt(*atStart));

    clickTimeline(window->timeline().xOf(2.0) + 1);
    EXPECT_NEAR(host.time, 2.0, 1e-9);
    EXPECT_EQ(host.clockTrail.back(), host.time);
    // Seen from the top, the camera moved to the right along x and not along z.
    const auto atKey = window->viewport().nodePosition(node->getName());
    ASSERT_TRUE(atKey.has_value());
    EXPECT_GT(atKey->x() - atStart->x(), 20.0);
    EXPECT_NEAR(atKey->y(), atStart->y(), 0.5);
    EXPECT_TRUE(drawnAt(*atKey));

    // Through the camera itself, its own marker is not drawn; the view still has a camera.
    window->viewport().setView(qvn::host::View::Camera);
    EXPECT_EQ(window->viewport().viewCamera(), node);
    EXPECT_FALSE(window->viewport().nodePosition(node->getName()).has_value());

    // While a take is recorded the timeline leaves the clock to the core.
    ASSERT_EQ(core->startRecording(), mvk::qvn::ResultOk);
    const double recordingTime = host.time;
    clickTimeline(window->timeline().width() - 1);
    EXPECT_EQ(host.time, recordingTime);
    // Nor is the scene emptied under it.
    EXPECT_FALSE(window->newScene());
    EXPECT_NE(core->findInstance(camera), nullptr);
    core->stopRecording();
}

TEST_F(HostWindowTest, ASavedSceneComesBackWholeAndABadFileChangesNothing) {
    openWindow();
    const std::string camera = core->createInstance("Orbit Camera");
    ASSERT_FALSE(camera.empty());
    RefNode* node = keyedCamera(camera);
    ASSERT_NE(node, nullptr);
    const std::map<double, Matrix> keys = node->transformKeys();
    host.rangeEnd = 4.0;
    host.frameRate = 25.0;
    const std::string file = environment.root() + "/take.qvscene";
    ASSERT_TRUE(window->saveScene(file)) << window->lastError();

    window->newScene();
    EXPECT_EQ(core->findInstance(camera), nullptr);
    EXPECT_EQ(host.scene.count(), 0);
    EXPECT_EQ(host.undoStack.stepCount(), 0);

    ASSERT_TRUE(window->openScene(file)) << window->lastError();
    EXPECT_NE(core->findInstance(camera), nullptr);
    ASSERT_EQ(host.scene.count(), 1);
    RefNode* again = host.scene.find(camera + "_camera");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->transformKeys(), keys);
    EXPECT_TRUE(again->hasLens());
    // The node belongs to the restored tool again, so deleting the tool takes it along.
    EXPECT_NE(again->owner(), nullptr);
    EXPECT_EQ(host.rangeEnd, 4.0);
    EXPECT_EQ(host.frameRate, 25.0);
    EXPECT_EQ(host.undoStack.stepCount(), 0);

    // Not a scene, and a scene with a damaged key: refused, and the open scene stays.
    const std::string text = qvn::test::TestEnvironment::readFile(file);
    const std::string other = environment.writeFile(environment.root() + "/other.qvscene",
                                                    "<?xml version=\"1.0\"?>\n<profile/>\n");
    std::string damaged = text;
    const size_t key = damaged.find("<key");
    ASSERT_NE(key, std::string::npos);
    damaged.replace(damaged.find('>', key) + 1, 1, "x");
    const std::string broken =
        environment.writeFile(environment.root() + "/broken.qvscene", damaged);
    for (const std::string& bad : {other, broken, environment.root() + "/missing.qvscene"}) {
        EXPECT_FALSE(window->openScene(bad)) << bad;
        EXPECT_FALSE(window->lastError().empty());
        EXPECT_NE(core->findInstance(camera), nullptr) << bad;
        EXPECT_EQ(host.scene.count(), 1) << bad;
        EXPECT_EQ(window->scenePath(), file);
    }
}

// After a field is used, the keys of the scene work again: Enter commits and Escape drops what
// was typed, both hand the focus back to the viewport, so Space plays rather than blanking the
// field and Ctrl+Z undoes in the host. A click into the views takes the focus back too.
TEST_F(HostWindowTest, KeysReachTheSceneOnceAFieldIsLeftWithEnterOrEscape) {
    openWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto boxes = window->findChildren<QDoubleSpinBox*>();
    ASSERT_EQ(boxes.size(), 2);
    QDoubleSpinBox* end = boxes[1]->value() > boxes[0]->value() ? boxes[1] : boxes[0];
    const double before = host.rangeEnd;

    end->setFocus();
    end->selectAll();
    QTest::keyClicks(end, "4");
    QTest::keyClick(end, Qt::Key_Escape);
    EXPECT_EQ(host.rangeEnd, before);
    EXPECT_DOUBLE_EQ(end->value(), before);
    EXPECT_TRUE(window->viewport().hasFocus());

    end->setFocus();
    end->selectAll();
    QTest::keyClicks(end, "4");
    QTest::keyClick(end, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(host.rangeEnd, 4.0);
    ASSERT_TRUE(window->viewport().hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(window->isPlaying());
    EXPECT_DOUBLE_EQ(end->value(), 4.0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_FALSE(window->isPlaying());

    // Ctrl+Z reaches the host's undo: a tool deleted through the core comes back.
    const std::string group = core->createInstance("Group");
    ASSERT_FALSE(group.empty());
    core->deleteInstance(group);
    ASSERT_EQ(implementation()->getRoot()->childCount(), 0);
    window->refresh(); // as its timer does: Edit > Undo now has a step to take back
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(implementation()->getRoot()->childCount(), 1);

    // Clicking the timeline or the viewport takes the focus from a field.
    end->setFocus();
    QTest::mouseClick(&window->timeline(), Qt::LeftButton, {}, QPoint(10, 20));
    EXPECT_TRUE(window->timeline().hasFocus());
    end->setFocus();
    QTest::mouseClick(&window->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(window->viewport().hasFocus());
}

TEST_F(HostWindowTest, NothingIsDrawnAtRestAndWhatTheCoreChangesStillShows) {
    ASSERT_FALSE(core->createInstance("Orbit Camera").empty());
    openWindow();
    QTest::qWait(300);
    PaintCounter view(window->viewport());
    PaintCounter timeline(window->timeline());
    QTest::qWait(800);
    EXPECT_EQ(view.paints, 0);
    EXPECT_EQ(timeline.paints, 0);

    // The core moves the clock, as each sample of a take does.
    host.setTime(1.5);
    EXPECT_TRUE(waitFor([&] { return view.paints > 0 && clockShows("01.50"); }, 1000));

    // After a quiet spell the tick is slow, but a change still shows well within a second.
    QTest::qWait(2600);
    const int before = timeline.paints;
    RefNode* node = host.scene.nodes().front();
    node->setLocalTransform(4.0, translation(1, 2, 3));
    host.redrawViews();
    EXPECT_TRUE(waitFor([&] { return timeline.paints > before; }, 1000));
}

} // namespace
