#include "InstanceFixture.h"
#include "unidevice/DeviceHandler.h"

namespace qvn::test {
namespace {

using ReferenceTest = InstanceFixture;

std::vector<std::string> childNames(const InstanceReference* parent) {
    std::vector<std::string> names;
    for (int i = 0; i < parent->childCount(); ++i)
        names.push_back(parent->child(i)->getName());
    return names;
}

TEST_F(ReferenceTest, DeletingAParentDeletesItsChildrenLastFirstAndUndoRestoresAllFour) {
    InstanceReference* root = core->getRoot();
    make("Before");
    InstanceReference* parent = core->InstanceManager::createInstance("Rig", "Parent");
    make("After");
    for (const char* name : {"A", "B", "C"})
        make(name, parent);
    const int stepsBefore = host.undoStack.stepCount();
    parent->deleteTool();
    EXPECT_EQ(childNames(root), (std::vector<std::string>{"Before_01", "After_01"}));
    ASSERT_EQ(host.undoStack.stepCount(), stepsBefore + 1);
    EXPECT_EQ(host.undoStack.stepName(stepsBefore), "Delete tool");
    // One record per reference and one per host node that left the scene with it.
    EXPECT_EQ(host.undoStack.recordCount(stepsBefore), 8);
    EXPECT_EQ(host.scene.deletions(), (std::vector<std::string>{"C_01_body", "B_01_body",
                                                                 "A_01_body", "Parent_01_body"}));

    ASSERT_TRUE(host.undo());
    EXPECT_EQ(childNames(root), (std::vector<std::string>{"Before_01", "Parent_01", "After_01"}));
    EXPECT_EQ(childNames(parent), (std::vector<std::string>{"A_01", "B_01", "C_01"}));
    EXPECT_TRUE(parent->isActive());
    EXPECT_EQ(core->findInstance("B_01"), parent->child(1));
    ASSERT_TRUE(host.undoStack.redo());
    EXPECT_EQ(childNames(root), (std::vector<std::string>{"Before_01", "After_01"}));
    EXPECT_EQ(core->findInstance("B_01"), nullptr);
}

TEST_F(ReferenceTest, ASecondDeleteWhileOneRunsIsIgnored) {
    Instance* instance = make();
    bool askedAgain = false;
    host.onBeginHold = [&](const std::string& operation) {
        if (operation == "Delete plugin instance" && !askedAgain) {
            askedAgain = true;
            instance->extend(Extension::DeleteWithNodes, nullptr, 0);
        }
    };
    instance->deleteInstance(true);
    host.onBeginHold = nullptr;
    ASSERT_TRUE(askedAgain);
    int instanceHolds = 0;
    int referenceHolds = 0;
    for (const std::string& event : host.undoStack.history()) {
        instanceHolds += event == "begin:Delete plugin instance" ? 1 : 0;
        referenceHolds += event == "begin:Delete Morvik Tool" ? 1 : 0;
    }
    EXPECT_EQ(instanceHolds, 1);
    EXPECT_EQ(referenceHolds, 1);
    EXPECT_EQ(host.scene.deletions(), std::vector<std::string>{"Rig_01_body"});
    EXPECT_FALSE(host.isHolding());
}

TEST_F(ReferenceTest, RenameAndUndoRestoreTheNameAndTheNodeNames) {
    InstanceReference* reference = core->InstanceManager::createInstance("Rig", "Crane");
    ASSERT_NE(host.scene.find("Crane_01_body"), nullptr);
    reference->rename("Dolly");
    EXPECT_EQ(reference->getName(), "Dolly_01");
    EXPECT_EQ(reference->getInstance()->getCode()->getName(), "Dolly_01");
    EXPECT_NE(host.scene.find("Dolly_01_body"), nullptr);
    EXPECT_EQ(host.undoStack.stepName(host.undoStack.stepCount() - 1), "Rename");
    ASSERT_TRUE(host.undo());
    EXPECT_EQ(reference->getName(), "Crane_01");
    EXPECT_NE(host.scene.find("Crane_01_body"), nullptr);
    EXPECT_EQ(host.scene.find("Dolly_01_body"), nullptr);
    ASSERT_TRUE(host.undoStack.redo());
    EXPECT_EQ(reference->getName(), "Dolly_01");
}

TEST_F(ReferenceTest, CreateUndoRedoPutsTheDeviceBackAtItsIndex) {
    auto* devices = mvk::unidevice::DeviceHandler::instance();
    InstanceReference* reference = core->InstanceManager::createInstance("Rig", "Car");
    Instance* instance = reference->getInstance();
    VirtualControlDescriptor steering{"Steering", 0, 4};
    instance->extend(Extension::CreateVirtualControl, &steering, 0);
    const int32_t index = devices->deviceIndex(instance);
    ASSERT_GE(index, 0);
    ASSERT_TRUE(host.undo()); // undoes "Creating instance"
    EXPECT_EQ(devices->deviceIndex(instance), -1);
    EXPECT_EQ(core->findInstance("Car_01"), nullptr);
    ASSERT_TRUE(host.undoStack.redo());
    EXPECT_EQ(devices->deviceIndex(instance), index);
    EXPECT_EQ(core->findInstance("Car_01"), reference);
}

TEST_F(ReferenceTest, TimeUpdatesReachOnlyTickedInstances) {
    Instance* ticked = make("Ticked");
    Instance* unticked = make("Unticked");
    unticked->getReference()->setChecked(false);
    core->updateInstances(1.25);
    EXPECT_EQ(static_cast<RigCode*>(ticked->getCode())->updates, std::vector<double>{1.25});
    EXPECT_TRUE(static_cast<RigCode*>(unticked->getCode())->updates.empty());
}

} // namespace
} // namespace qvn::test
