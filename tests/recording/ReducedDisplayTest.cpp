#include "RecordingFixture.h"
#include "RefNode.h"

#include <optional>

namespace qvn::test {

namespace {

// A take with the main window's reduced-display box in a given state. Besides the rig's own
// node the scene holds a light that belongs to no tool and is hidden.
class ReducedDisplay : public RecordingFixture {
protected:
    void SetUp() override {
        RecordingFixture::SetUp();
        body = host.scene.find(rig->getName() + "_body");
        ASSERT_NE(body, nullptr);
        body->setVisible(false);
        light = host.scene.createNode("Light");
        light->setVisible(false);
        core->setCheckBoxLookup([this](int32_t id) -> std::optional<bool> {
            if (id == RecordManager::ReducedDisplayCheckBox)
                return reducedBox;
            return std::nullopt;
        });
        host.onBeginHold = [this](const std::string&) { redrawsAtBeginHold = host.redraws; };
    }

    std::optional<bool> reducedBox;
    host::RefNode* body = nullptr;
    host::RefNode* light = nullptr;
    int redrawsAtBeginHold = -1;
};

TEST_F(ReducedDisplay, ATickedBoxShowsTheToolsNodesSimplifiedAndEveryNodeGetsItsStateBack) {
    reducedBox = true;
    body->setFullDisplay(true);
    core->startRecording();
    // Before the take's undo step opens, the tools' nodes are shown, simplified, and redrawn;
    // nodes of no tool keep their state.
    EXPECT_EQ(redrawsAtBeginHold, 1);
    EXPECT_TRUE(body->isVisible());
    EXPECT_FALSE(body->isFullDisplay());
    EXPECT_FALSE(light->isVisible());
    EXPECT_TRUE(light->isFullDisplay());

    // Unticking the box during the take does not leave the switched nodes behind.
    runUntil(11.0);
    reducedBox = false;
    core->stopRecording();
    EXPECT_FALSE(body->isVisible());
    EXPECT_TRUE(body->isFullDisplay());
    EXPECT_FALSE(light->isVisible());
    EXPECT_EQ(host.redraws, 2);
    EXPECT_EQ(host.undoStack.history().back(), "accept:Record");
}

TEST_F(ReducedDisplay, NodesDeletedOrMadeDuringTheTakeAreLeftAloneOnRestore) {
    reducedBox = true;
    core->startRecording();
    host.scene.deleteNode(light, false);
    host::RefNode* made = host.scene.createNode("Made during the take");
    made->setFullDisplay(false);
    core->stopRecording();
    EXPECT_FALSE(body->isVisible());
    EXPECT_TRUE(body->isFullDisplay());
    EXPECT_FALSE(made->isFullDisplay());
    EXPECT_TRUE(made->isVisible());
}

} // namespace

} // namespace qvn::test
