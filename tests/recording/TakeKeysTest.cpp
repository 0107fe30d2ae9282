#include "RecordingFixture.h"
#include "RefNode.h"

#include "core/recording/ResimulateWindow.h"

#include <map>

namespace qvn::test {

namespace {

host::Matrix shifted(double x) { return host::translation(x, 0, 0); }

// The node's keys as (time, x translation).
std::map<double, double> xKeys(const host::RefNode& node) {
    std::map<double, double> keys;
    for (const auto& [time, local] : node.transformKeys())
        keys[time] = local[3];
    return keys;
}

TEST(TakeKeys, UndoAndRedoOfOperationsThatAddAndOverwriteKeysGiveTheKeysBackExactly) {
    host::RefUndoStack undo;
    host::RefScene scene;
    scene.setUndoStack(&undo);
    host::RefNode* node = scene.createNode("node");

    undo.beginHold("take");
    for (double time : {1.0, 2.0, 3.0})
        node->setLocalTransform(time, shifted(time));
    undo.accept();
    const std::map<double, double> take = xKeys(*node);

    // Over the take: overwrite, add between keys, set one time twice, add before every key.
    undo.beginHold("resimulation");
    node->setLocalTransform(2.0, shifted(20));
    node->setLocalTransform(2.5, shifted(25));
    node->setLocalTransform(2.5, shifted(26));
    node->setLocalTransform(0.5, shifted(5));
    undo.accept();
    const std::map<double, double> resimulated = xKeys(*node);
    ASSERT_EQ(resimulated, (std::map<double, double>{{0.5, 5}, {1, 1}, {2, 20}, {2.5, 26}, {3, 3}}));

    ASSERT_TRUE(undo.undo());
    EXPECT_EQ(xKeys(*node), take);
    ASSERT_TRUE(undo.redo());
    EXPECT_EQ(xKeys(*node), resimulated);
    ASSERT_TRUE(undo.undo());
    ASSERT_TRUE(undo.undo());
    EXPECT_TRUE(node->transformKeys().empty());
    ASSERT_TRUE(undo.redo());
    ASSERT_TRUE(undo.redo());
    EXPECT_EQ(xKeys(*node), resimulated);

    // A time that is not finite keys nothing.
    double local[16] = {};
    EXPECT_FALSE(node->keyTransform(std::nan(""), local));
    EXPECT_EQ(xKeys(*node), resimulated);
}

// A resimulation from a time on the frame grid that is not written exactly as a multiple of the
// frame (0.2 s at 25 frames per second) re-keys the very times the take keyed.
class ResimulationGrid : public RecordingFixture {
protected:
    void SetUp() override {
        RecordingFixture::SetUp();
        const std::string layout = "/quorvane/data/core/layout/qvn_resimulate.xml";
        environment.writeFile(environment.installRoot() + layout,
                              TestEnvironment::readFile(TestEnvironment::stageRoot() + layout));
        setCountdown(0);
        host.time = 0.0;
        host.frameRate = 25.0;
        host.sampleInterval = 0.04;
        static_cast<RigCode*>(rig->getCode())->keyBody = true;
    }
};

TEST_F(ResimulationGrid, FramesLandOnTheKeysOfTheTakeNotBesideThem) {
    core->startRecording();
    for (int i = 0; i < 50; ++i)
        tick(40);
    core->stopRecording();
    const host::RefNode* body = host.scene.find(rig->getName() + "_body");
    const std::map<double, double> recorded = xKeys(*body);
    ASSERT_FALSE(recorded.empty());

    core->resimulate(0.2, 1.0);
    while (core->isResimulating())
        core->getResimulateWindow()->onTimer(RecordManager::ResimulateWindow::TimerId, now);
    EXPECT_EQ(xKeys(*body).size(), recorded.size());
    for (const auto& [time, x] : xKeys(*body))
        EXPECT_EQ(recorded.count(time), 1u) << "a key beside the take's at " << time;
}

} // namespace

} // namespace qvn::test
