#include "core/instances/SceneTagReader.h"
#include "core/instances/SceneTagWriter.h"
#include "instances/InstanceFixture.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"

namespace qvn::test {
namespace {

using mvk::util::xml::Element;

class SceneTagTest : public InstanceFixture {
protected:
    // A parent with a ticked-off child, configured, bound and carrying save data.
    void buildRig() {
        source = make("Source");
        VirtualControlDescriptor descriptor{"Throttle", 0, 4};
        source->extend(Extension::CreateVirtualControl, &descriptor, 0);
        cam = make("Cam");
        arm = make("Arm", cam->getReference());
        arm->getReference()->setChecked(false);
        auto* code = static_cast<RigCode*>(cam->getCode());
        code->speed = 42;
        code->invert = true;
        cam->setSaveData("abc", 3);
        Element profile = mvk::util::xml::Tag("profile");
        Element& pan = profile.addChild(mvk::util::xml::Tag("property"));
        pan.attribute("name") = "Pan";
        pan.addChild(source->control(0)->toXML());
        ASSERT_EQ(cam->applyInputProfile(profile), 0);
        // A take whose times and values come back only when stored bit for bit.
        cam->beginRecording(-1.0 / 3, false);
        for (double time : {-1.0 / 3, 0.1, 2.0 / 3}) {
            source->control(0)->feed(time * 7);
            cam->recordSample(time, false);
        }
        cam->endRecording(2.0 / 3, false);
        take = cam->getRecordedValues();
    }
    // Deletes the instance for good, so its name is free again.
    void forget(const std::string& name) {
        core->deleteInstance(name);
        host.undoStack.clear();
        ASSERT_EQ(core->findInstance(name), nullptr);
    }
    std::string camText(uint32_t flags = SceneTagWriter::WithSaveData) const {
        InstanceReference* reference = core->findInstance("Cam_01");
        return reference ? SceneTagWriter::write(*reference, flags).toString("", "", "") : "";
    }
    void expectRestoredRig() {
        InstanceReference* restored = core->findInstance("Cam_01");
        ASSERT_NE(restored, nullptr);
        Instance* copy = restored->getInstance();
        EXPECT_EQ(copy->getTool(), rig);
        EXPECT_TRUE(restored->isChecked());
        auto* code = static_cast<RigCode*>(copy->getCode());
        EXPECT_DOUBLE_EQ(code->speed, 42);
        EXPECT_TRUE(code->invert);
        uint32_t length = 0;
        const void* bytes = copy->getSaveData(length);
        ASSERT_EQ(length, 3u);
        EXPECT_EQ(std::string(static_cast<const char*>(bytes), 3), "abc");
        EXPECT_EQ(copy->getProperties()->property("Pan")->control(), source->control(0));
        ASSERT_EQ(copy->getRecordedValues().size(), take.size());
        for (size_t i = 0; i < take.size(); ++i)
            EXPECT_TRUE(copy->getRecordedValues()[i].sameKeys(take[i])) << i;
        ASSERT_EQ(restored->childCount(), 1);
        EXPECT_EQ(restored->child(0)->getName(), "Arm_01");
        EXPECT_FALSE(restored->child(0)->isChecked());
    }

    Instance* source = nullptr;
    Instance* cam = nullptr;
    Instance* arm = nullptr;
    Instance::RecordedValues take;
};

TEST_F(SceneTagTest, ASavedSceneAndTheCompressedFormLoadBackAsTheSameTree) {
    buildRig();
    const std::string before = camText();
    core->saveScene(host);
    const Element scene(host.sceneText);
    ASSERT_EQ(scene.name(), "QVT");
    const Element compressed = SceneTagWriter::write(
        *cam->getReference(), SceneTagWriter::WithSaveData | SceneTagWriter::Compressed);
    EXPECT_EQ(compressed.attribute("compressed"), "1");
    EXPECT_EQ(compressed.childCount(), 1); // only its text
    for (const Element* form : {&scene, &compressed}) {
        forget("Cam_01");
        InstanceReference* first = core->loadInstances(*form);
        ASSERT_NE(first, nullptr);
        // Source was saved too and comes back first, renamed since the original still lives.
        EXPECT_EQ(first->getName(), form == &scene ? "Source_02" : "Cam_01");
        expectRestoredRig();
        EXPECT_EQ(camText(), before);
        EXPECT_EQ(core->getRoot()->child(core->getRoot()->childCount() - 1)->getName(), "Cam_01");
    }
}

TEST_F(SceneTagTest, FlagsSelectSaveDataAndChildren) {
    buildRig();
    const Element plain = SceneTagWriter::write(*cam->getReference(), 0);
    const char* order[] = {"type",         "name",     "customdata", "configprofile",
                           "inputprofile", "nodeinfo", "QVT_Plugin"};
    ASSERT_EQ(plain.childCount(), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(plain.child(i).name(), order[i]);
    EXPECT_EQ(plain.attribute("version"), "2.5");

    const Element full = SceneTagWriter::write(
        *arm->getReference(), SceneTagWriter::WithSaveData | SceneTagWriter::WithoutChildren);
    EXPECT_EQ(full.child("checked").text(), "false");
    EXPECT_EQ(full.child("savedata").text(), "");
    EXPECT_EQ(full.childCount("recordedinputvalues"), 1);

    // An empty "savedata" reads back as an empty block, never as garbage.
    forget("Arm_01");
    InstanceReference* restored = core->loadInstances(full);
    ASSERT_NE(restored, nullptr);
    uint32_t length = 7;
    EXPECT_EQ(restored->getInstance()->getSaveData(length), nullptr);
    EXPECT_EQ(length, 0u);
}

TEST_F(SceneTagTest, TagsOfMissingToolsAreSkippedAndTheOthersRestored) {
    buildRig();
    Element scene = mvk::util::xml::Tag("QVT");
    Element unknown = mvk::util::xml::Tag("QVT_Plugin");
    unknown.addChild(mvk::util::xml::TagWithData("type", "NoSuchTool"));
    unknown.addChild(mvk::util::xml::TagWithData("name", "Ghost"));
    scene.addChild(unknown);
    Element stored = SceneTagWriter::write(*cam->getReference(), SceneTagWriter::WithSaveData);
    // A nested tag of a missing tool goes too, its siblings stay.
    stored.addChild(unknown);
    scene.addChild(stored);
    forget("Cam_01");

    InstanceReference* first = core->loadInstances(scene);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->getName(), "Cam_01");
    EXPECT_EQ(core->findInstance("Ghost"), nullptr);
    expectRestoredRig();

    // Garbage never crashes the reader.
    EXPECT_EQ(
        core->loadInstances(Element("<QVT><QVT_Plugin compressed=\"1\">!!</QVT_Plugin></QVT>")),
        nullptr);

    // Nodes missing from the scene are reported. The original Cam_01 went with the undo stack;
    // the restored one stands in for it.
    InstanceReference* restored = core->findInstance("Cam_01");
    ASSERT_NE(restored, nullptr);
    Element lamp = SceneTagWriter::write(*restored, SceneTagWriter::WithoutChildren);
    lamp.child("nodeinfo").addChild(mvk::util::xml::Tag("node")).attribute("name") = "lamp";
    forget("Cam_01");
    ASSERT_NE(core->loadInstances(lamp), nullptr);
    ASSERT_EQ(script.questions().size(), 1u);
    EXPECT_EQ(script.questions()[0].text,
              "Some nodes required for this plugin was not found in the scene. Please make sure "
              "all required nodes are present.\nThe following nodes were not found:\n\n"
              "Cam_01_lamp\n");
}

TEST_F(SceneTagTest, DeeplyNestedTagsRestoreInOrder) {
    Instance* level = make("Deep");
    Element base = SceneTagWriter::write(*level->getReference(), SceneTagWriter::WithoutChildren);
    base.removeChild(base.child("nodeinfo", 0));
    forget("Deep_01");
    base.removeChild(base.child("name", 0));
    // Each level named apart, so only the nesting is measured, not the choice of free names.
    auto named = [&base](const std::string& name) {
        Element tag = base;
        tag.addChild(mvk::util::xml::TagWithData("name", name));
        return tag;
    };
    // Thousands of levels; the innermost parent holds a second child after the chain's end.
    const int depth = 3000;
    Element root = named("L1");
    Element* at = &root;
    for (int i = 2; i < depth; ++i)
        at = &at->addChild(named("L" + std::to_string(i)));
    at->addChild(named("Leaf"));
    at->addChild(named("Sibling"));

    SceneTagReader reader;
    InstanceReference* top = reader.restore(root, "Top");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->getName(), "Top_01");
    int levels = 1;
    InstanceReference* inner = top;
    while (inner->childCount() == 1) {
        inner = inner->child(0);
        ++levels;
    }
    EXPECT_EQ(levels, depth - 1);
    ASSERT_EQ(inner->childCount(), 2);
    EXPECT_EQ(inner->child(0)->childCount(), 0);
    EXPECT_EQ(inner->child(1)->getName(), "Sibling_01");
    EXPECT_TRUE(reader.failedTags().empty());
}

TEST_F(SceneTagTest, CloneAppendsTheCopyLastAndUndoRemovesIt) {
    buildRig();
    make("Tail");
    const int before = core->getRoot()->childCount();
    const std::string name = core->cloneInstance("Cam_01");
    EXPECT_EQ(name, "Cam_02");
    InstanceReference* copy = core->findInstance(name);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(core->getRoot()->child(before), copy);
    ASSERT_EQ(copy->childCount(), 1);
    EXPECT_EQ(copy->child(0)->getName(), "Arm_02");
    // Copies carry no save data but keep the original's configuration.
    EXPECT_DOUBLE_EQ(static_cast<RigCode*>(copy->getInstance()->getCode())->speed, 42);
    uint32_t length = 0;
    copy->getInstance()->getSaveData(length);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(host.undoStack.history().back(), "accept:Clone tool");

    ASSERT_TRUE(host.undo());
    EXPECT_EQ(core->findInstance(name), nullptr);
    EXPECT_EQ(core->getRoot()->childCount(), before);
    EXPECT_EQ(core->cloneInstance("Nobody"), "");
}

TEST_F(SceneTagTest, LostInstancesAreThoseWithoutHostNodes) {
    buildRig();
    for (CoreNode* node : arm->getNodes())
        host.scene.deleteNode(static_cast<host::RefNode*>(node), true);
    EXPECT_EQ(core->saveLostInstances(host), 0);
    const Element lost(host.sceneText);
    EXPECT_EQ(lost.name(), "QVT");
    ASSERT_EQ(lost.childCount(), 1);
    EXPECT_EQ(lost.child(0).child("name").text(), "Arm_01");
}

} // namespace
} // namespace qvn::test
