#include "RefHost.h"
#include "core/CoreImplementation.h"
#include "core/Hooks.h"
#include "core/MainConfigSettings.h"
#include "core/Startup.h"
#include "core/instances/InstanceReference.h"
#include "core/libraries/ConfigProfileManager.h"
#include "core/libraries/LibraryManager.h"
#include "core/libraries/Tool.h"
#include "gui/Toolkit.h"
#include "support/StuckReaderRelease.h"
#include "support/TestEnvironment.h"
#include "util/Log.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace mvk::qvn;

namespace {

class AttachTest : public ::testing::Test {
protected:
    void SetUp() override { environment.userDataPath(); }
    qvn::test::TestEnvironment environment;
    qvn::host::RefHost host;
};

TEST_F(AttachTest, ASecondAttachReusesTheCoreAndOneDetachTakesItDown) {
    CoreInterface* core = core::attachCore(&host);
    ASSERT_NE(core, nullptr);
    auto* implementation = static_cast<core::CoreImplementation*>(core);
    core::InstanceReference* root = implementation->getRoot();
    ASSERT_NE(root, nullptr);

    qvn::host::RefHost other;
    other.hostName = "otherhost";
    EXPECT_EQ(core::attachCore(&other), core);
    EXPECT_EQ(implementation->getRoot(), root);
    EXPECT_EQ(root->getName(), "root_01");
    EXPECT_EQ(core::CoreSubSystem::registry().size(), 5u);
    EXPECT_EQ(core::Hooks::startCount(), 1u);
    EXPECT_EQ(core::Hooks::callbackCount(), 1) << "one core, one key callback";
    EXPECT_EQ(implementation->getAdaptor(), &other);
    // A mismatching adaptor is refused and leaves the attached core alone.
    qvn::host::RefHost old;
    old.version = 9200;
    EXPECT_EQ(core::attachCore(&old), nullptr);
    EXPECT_EQ(implementation->getAdaptor(), &other);

    EXPECT_EQ(core::detachCore(core), 0);
    ASSERT_EQ(other.notices.size(), 1u);
    EXPECT_EQ(other.notices.back(), "coreDetach");
    EXPECT_FALSE(core::Hooks::isInstalled());
    EXPECT_EQ(core::Hooks::startCount(), 0u);
    EXPECT_EQ(core::CoreImplementation::existing(), nullptr);
    // The pointer of the first attach is stale now; detaching it again only shuts down.
    EXPECT_EQ(core::detachCore(core), 0);
    EXPECT_EQ(other.notices.size(), 1u);
    EXPECT_EQ(QApplication::instance(), nullptr);
}

// Every file and folder below `folder`.
std::vector<std::string> everythingBelow(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        found.push_back(entry.path().string());
    return found;
}

TEST_F(AttachTest, WithoutADocumentsFolderNothingIsWrittenUnderHome) {
    std::filesystem::remove_all(environment.home() + "/Documents");
    const std::vector<std::string> before = everythingBelow(environment.home());
    CoreInterface* core = core::attachCore(&host);
    ASSERT_NE(core, nullptr);
    auto* implementation = static_cast<core::CoreImplementation*>(core);
    core::Tool* group = core::LibraryManager::instance()->findTool("Group");
    ASSERT_NE(group, nullptr);
    const mvk::util::xml::Element profile(
        "<configprofile version=\"2.0\" name=\"Mine\"><item id=\"1\">2</item></configprofile>");
    EXPECT_EQ(group->configProfiles().addElement(profile, true, false),
              core::XMLFileManager::WriteFailed);
    implementation->getSettings().setCountdownSeconds(5);
    EXPECT_FALSE(implementation->getSettings().save());
    // The core runs on without anywhere to store: the root instance is there all the same.
    ASSERT_NE(implementation->getRoot(), nullptr);
    EXPECT_NE(core->findInstance(implementation->getRoot()->getName()), nullptr);
    EXPECT_EQ(core::detachCore(core), 0);
    EXPECT_EQ(everythingBelow(environment.home()), before);
}

// A FIFO where the settings file belongs would make a plain open wait for a writer forever.
TEST_F(AttachTest, AFifoNamedLikeTheSettingsFileDoesNotHoldUpAttach) {
    const std::string hostData = environment.userDataPath() + "/data/refhost";
    std::filesystem::create_directories(hostData);
    qvn::test::StuckReaderRelease fifo(hostData + "/settings.xml", std::chrono::seconds(20));
    ASSERT_TRUE(fifo.created());
    CoreInterface* core = core::attachCore(&host);
    fifo.finished();
    EXPECT_FALSE(fifo.released()) << "attach waited on the FIFO";
    ASSERT_NE(core, nullptr);
    int32_t countdown = 0;
    EXPECT_TRUE(core->getSetting(core::MainConfigSettings::IdCountdown, &countdown));
    EXPECT_EQ(countdown, 2);
    core::detachCore(core);
}

} // namespace
