#include "RecordingFixture.h"
#include "RefNode.h"

#include "core/recording/ResimulateWindow.h"

#include <map>

namespace qvn::test {

namespace {

// The node's keys as (time, x translation).
std::map<double, double> xKeys(const host::RefNode& node) {
    std::map<double, double> keys;
    for (const auto& [time, local] : node.transformKeys())
        keys[time] = local[3];
    return keys;
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
