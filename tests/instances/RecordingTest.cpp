#include "RefNode.h"
#include "core/instances/SceneTagWriter.h"
#include "instances/InstanceFixture.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"
#include "util/DataChunk.h"

namespace qvn::test {
namespace {

using mvk::unidevice::Control;
using mvk::unidevice::Property;
using mvk::util::xml::Element;
using Key = mvk::util::AVar_Linear<double>::Key;
using Keys = std::vector<Key>;

class RecordingTest : public InstanceFixture {
protected:
    void SetUp() override {
        InstanceFixture::SetUp();
        cam = make("Cam");
        code = static_cast<RigCode*>(cam->getCode());
        code->keyBody = true;
        pan = property("Pan");
        tilt = property("Tilt");
        speed = property("Spinner: Speed");
        stick->setType("stick");
        // Raw values pass unshaped, so what the code reads is what was recorded.
        pan->setDeadzone(0);
        pan->bind(stick);
        stepsBefore = host.undoStack.stepCount();
    }
    void TearDown() override {
        if (stick != nullptr)
            stick->destroy();
        InstanceFixture::TearDown();
    }
    Property* property(const std::string& name) const {
        return cam->getProperties()->property(name);
    }
    // One take as the record manager runs it: the stick at each value, one sample each.
    void recordTake(const std::vector<std::pair<double, double>>& samples) {
        host.beginHold("Record");
        cam->beginRecording(samples.front().first, false);
        for (const auto& [time, value] : samples) {
            stick->feed(value);
            cam->recordSample(time, false);
        }
        cam->endRecording(samples.back().first, false);
        host.acceptHold();
    }
    Keys curve(size_t index) const { return cam->getRecordedValues().at(index).allKeys(); }
    host::RefNode* body() const { return host.scene.find("Cam_01_body"); }

    Instance* cam = nullptr;
    RigCode* code = nullptr;
    Property* pan = nullptr;
    Property* tilt = nullptr;
    Property* speed = nullptr;
    Control* stick = new Control(nullptr, 4, 0.1);
    int stepsBefore = 0;
};

TEST_F(RecordingTest, ASampleKeysBoundControlsAndZeroForTheRestAndAdvancesExposedSpinners) {
    Control throttle(nullptr, 4, 0.1);
    throttle.feed(1.0);
    speed->bind(&throttle);
    // Out of order and twice at 2.5: keys stay ordered and the later value wins.
    recordTake({{2.0, 0.25}, {2.5, -0.5}, {2.25, 0.75}, {2.5, 1.0}});

    ASSERT_EQ(cam->getRecordedValues().size(), 3u); // Pan, Tilt, Spinner: Speed
    EXPECT_EQ(curve(0), (Keys{{2.0, 0.25}, {2.25, 0.75}, {2.5, 1.0}}));
    EXPECT_EQ(curve(1), (Keys{{2.0, 0}, {2.25, 0}, {2.5, 0}}));
    EXPECT_EQ(curve(2), (Keys{{2.0, 1}, {2.25, 1}, {2.5, 1}}));
    // The spinner moves by its property's value before the code sees the sample.
    EXPECT_EQ(code->notices, (std::vector<std::string>{"begin 2", "sample 2 pan 0.25 speed 2",
                                                       "sample 2.5 pan -0.5 speed 3",
                                                       "sample 2.25 pan 0.75 speed 4",
                                                       "sample 2.5 pan 1 speed 5", "end"}));
    // The host keyed the node at the sample times it was given.
    EXPECT_EQ(body()->channel(3),
              (std::vector<std::pair<double, double>>{{2.0, 0.25}, {2.25, 0.75}, {2.5, 1.0}}));

    // A spinner stops at its limit; one whose property reads 0 stays where it is.
    code->speed = 99.5;
    recordTake({{3.0, 0}});
    EXPECT_DOUBLE_EQ(code->speed, 100);
    speed->bind(nullptr);
    recordTake({{4.0, 0}});
    EXPECT_DOUBLE_EQ(code->speed, 100);
}

TEST_F(RecordingTest, UndoAndRedoOfATakeRestoreCurvesAndNodeKeysExactly) {
    recordTake({{0.0, 0.1}, {1.0 / 3, 0.2}, {2.0 / 3, -0.3}});
    const Instance::RecordedValues first = cam->getRecordedValues();
    const auto firstKeys = body()->transformKeys();
    recordTake({{0.5, 0.9}, {1.0, 0.8}});
    const Instance::RecordedValues second = cam->getRecordedValues();
    const auto secondKeys = body()->transformKeys();
    ASSERT_EQ(host.undoStack.stepCount(), stepsBefore + 2);

    auto expectState = [&](const Instance::RecordedValues& curves, const auto& keys) {
        ASSERT_EQ(cam->getRecordedValues().size(), curves.size());
        for (size_t i = 0; i < curves.size(); ++i)
            EXPECT_TRUE(cam->getRecordedValues()[i].sameKeys(curves[i])) << i;
        EXPECT_EQ(body()->transformKeys(), keys);
    };
    ASSERT_TRUE(host.undo());
    expectState(first, firstKeys);
    ASSERT_TRUE(host.undo());
    expectState({}, std::map<double, host::Matrix>{});
    ASSERT_TRUE(host.undoStack.redo());
    ASSERT_TRUE(host.undoStack.redo());
    expectState(second, secondKeys);

    // An instance destroyed outright leaves records behind that must not touch it.
    cam->extend(Extension::DestroyInstance, nullptr, 0);
    EXPECT_TRUE(host.undo());
    EXPECT_TRUE(host.undoStack.redo());
}

TEST_F(RecordingTest, ResimulationFeedsTheCurvesThroughTemporaryControlsAndPutsBindingsBack) {
    const Element missing("<control type=\"pedal\" index=\"3\"/>");
    tilt->setBinding(missing);
    const Element panBinding = pan->binding();
    recordTake({{0.0, 0.0}, {1.0, 1.0}});
    const Keys recorded = curve(0);
    code->notices.clear();
    stick->feed(-1.0); // the live stick plays no part in a replay

    cam->beginRecording(0.0, true);
    ASSERT_NE(pan->control(), stick);
    EXPECT_NE(tilt->control(), nullptr) << "a missing control is stood in for too";
    cam->recordSample(0.5, true);
    cam->recordSample(1.0, true);
    cam->endRecording(1.0, true);

    // Between keys the curve is read at the sample's time.
    EXPECT_EQ(code->notices, (std::vector<std::string>{"begin 0", "sample 0.5 pan 0.5 speed 1",
                                                       "sample 1 pan 1 speed 1", "end"}));
    EXPECT_EQ(curve(0), recorded);
    EXPECT_EQ(host.undoStack.stepCount(), stepsBefore + 1); // the replay adds no record
    EXPECT_EQ(pan->control(), stick);
    EXPECT_EQ(pan->binding(), panBinding);
    EXPECT_EQ(tilt->control(), nullptr);
    EXPECT_EQ(tilt->binding(), missing);
    // Outside a replay, a replayed sample has no stand-in to feed and leaves the stick alone.
    cam->recordSample(0.5, true);
    EXPECT_DOUBLE_EQ(stick->current(), -1.0);

    // A device that goes away during the replay leaves the property unbound but findable.
    cam->beginRecording(0.0, true);
    stick->destroy();
    stick = nullptr;
    cam->endRecording(1.0, true);
    EXPECT_EQ(pan->control(), nullptr);
    EXPECT_EQ(pan->binding(), panBinding);
}

TEST_F(RecordingTest, StoredCurvesKeepTheirPlacesWhenSomeBlocksAreDamaged) {
    recordTake({{0.0, 0.5}, {0.5, -0.25}});
    const Keys recorded = curve(0);
    Element tag = SceneTagWriter::write(*cam->getReference(), SceneTagWriter::WithSaveData);
    Element& values = tag.child("recordedinputvalues");
    ASSERT_EQ(values.childCount("input"), 3);
    std::string version101 = values.child("input", 1).text();
    mvk::util::DataChunk block = mvk::util::DataChunk::base64Decode(version101);
    block[8] = 101;
    values.child("input", 1) =
        mvk::util::xml::TagWithData("input", mvk::util::DataChunk::base64Encode(block));
    values.child("input", 2) = mvk::util::xml::TagWithData("input", "not*base64");
    values.addChild(mvk::util::xml::Tag("note")); // not an input: no curve of its own
    core->deleteInstance("Cam_01");
    host.undoStack.clear();

    InstanceReference* restored = core->loadInstances(tag);
    ASSERT_NE(restored, nullptr);
    const Instance::RecordedValues& curves = restored->getInstance()->getRecordedValues();
    ASSERT_EQ(curves.size(), 3u);
    EXPECT_EQ(curves[0].allKeys(), recorded);
    EXPECT_EQ(curves[1].keyCount(), 0u);
    EXPECT_EQ(curves[2].keyCount(), 0u);
}

} // namespace
} // namespace qvn::test
