#include "InstanceFixture.h"
#include "RefNode.h"

namespace qvn::test {
namespace {

using InstanceTest = InstanceFixture;

TEST_F(InstanceTest, NamesCountUpFromTheToolsNameOrTheTrailingDigitsKeepingTheirWidth) {
    InstanceReference* root = core->getRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->getInstance()->getTool()->name(), "Group");
    EXPECT_TRUE(root->isRoot());
    // "root" ends in no digit, so it is numbered like any other requested name.
    EXPECT_EQ(root->getName(), "root_01");
    const std::pair<const char*, const char*> cases[] = {
        {"", "Rig_01"},       {"", "Rig_02"},      {"Cam_99", "Cam_99"},
        {"Cam_99", "Cam_100"}, {"Cam", "Cam_01"}, {"007", "007"},
        {"007", "008"}};
    for (const auto& [requested, given] : cases) {
        Instance* instance = make(requested);
        ASSERT_NE(instance, nullptr) << requested;
        EXPECT_EQ(instance->getName(), given) << requested;
        EXPECT_EQ(instance->getCode()->getName(), given) << requested;
    }
    EXPECT_EQ(core->createInstance("Rig"), "Rig_03");
    EXPECT_EQ(core->createInstance("NoSuchTool"), "");
    EXPECT_EQ(host.undoStack.history().back(), "cancel:Creating instance");
}

TEST_F(InstanceTest, FailingInitialisationLeavesNothingBehind) {
    RigCode::failInitialize = true;
    EXPECT_EQ(core->createInstance("Rig"), "");
    EXPECT_EQ(rig->instanceCount(), 0);
    EXPECT_EQ(core->getRoot()->childCount(), 0);
}

TEST_F(InstanceTest, NullNodesAreLoggedWithTheirOwnWording) {
    Instance* instance = make();
    EXPECT_EQ(instance->getSnapshot(nullptr, 0), nullptr);
    EXPECT_EQ(instance->getHelperSnapshot(nullptr, 0), nullptr);
    EXPECT_EQ(instance->getMeshSnapshot(nullptr, 0), nullptr);
    EXPECT_EQ(instance->getLensSnapshot(nullptr, 0), nullptr);
    instance->destroyNode(nullptr);
    EXPECT_NE(log().find("Trying to acquire lens snapshot from NULL node"), std::string::npos);
    // A real node answers and takes its snapshot back.
    auto* body = static_cast<host::RefNode*>(instance->getNodes()[0]);
    body->setLocalTransform(0.0, host::translation(1, 2, 3));
    CSnapshot_Transform* snapshot = instance->getSnapshot(body, 0.5);
    ASSERT_NE(snapshot, nullptr);
    EXPECT_DOUBLE_EQ(snapshot->global[3], 1.0);
    EXPECT_EQ(instance->getLensSnapshot(body, 0.5), nullptr); // no lens on this node
    instance->releaseTransformSnapshot(snapshot);
    EXPECT_EQ(body->outstandingSnapshots(), 0);
}

TEST_F(InstanceTest, ExtensionsAnswerOrLogTheUnknownOnes) {
    InstanceReference* groupReference = core->InstanceManager::createInstance("Group", "Set");
    Instance* child = make("", groupReference);
    std::string parent = "unchanged";
    child->extend(Extension::ParentInstanceName, &parent, 0);
    EXPECT_EQ(parent, "Set_01");
    std::string underRoot = "unchanged";
    groupReference->getInstance()->extend(Extension::ParentInstanceName, &underRoot, 0);
    EXPECT_EQ(underRoot, "unchanged");
    CInterface::LabelDescriptor label{"Notes", 40};
    child->extend(Extension::AddConfigLabel, &label, 0);
    child->extend(777, nullptr, 0);
    EXPECT_NE(log().find("Interface: Caught unhandled extension: 777"), std::string::npos);
    child->extend(Extension::DestroyInstance, nullptr, 0);
    EXPECT_EQ(rig->instanceCount(), 0);
    EXPECT_EQ(groupReference->childCount(), 0);
    EXPECT_NE(log().find("Destroying Instance: Rig_01"), std::string::npos);
}

} // namespace
} // namespace qvn::test
