#include "RefHost.h"
#include "core/CoreImplementation.h"
#include "core/Hooks.h"
#include "core/MainConfigSettings.h"
#include "core/Startup.h"
#include "gui/Toolkit.h"
#include "util/Log.h"
#include "support/StuckReaderRelease.h"
#include "support/TestEnvironment.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <filesystem>

using namespace mvk::qvn;

namespace {

class AttachTest : public ::testing::Test {
protected:
    void SetUp() override { environment.userDataPath(); }
    qvn::test::TestEnvironment environment;
    qvn::host::RefHost host;
};

TEST_F(AttachTest, AttachInstallsTheHookAndDetachRemovesIt) {
    CoreInterface* core = core::attachCore(&host);
    ASSERT_NE(core, nullptr);
    EXPECT_TRUE(core::Hooks::isInstalled());
    EXPECT_EQ(core::Hooks::startCount(), 1u);
    EXPECT_NE(QApplication::instance(), nullptr);
    EXPECT_EQ(core::detachCore(core), 0);
    EXPECT_FALSE(core::Hooks::isInstalled());
    EXPECT_EQ(core::Hooks::startCount(), 0u);
    EXPECT_EQ(QApplication::instance(), nullptr);
    EXPECT_EQ(core::CoreImplementation::existing(), nullptr);
    EXPECT_FALSE(core::CoreSubSystem::isInitialized());
}

TEST_F(AttachTest, CoreAnswersItsOwnStateWhileAttached) {
    CoreInterface* core = core::attachCore(&host);
    ASSERT_NE(core, nullptr);
    EXPECT_EQ(core->name(), "CORE");
    EXPECT_EQ(core->closeMainDialog(), ResultMainDialogNotOpen);
    // No main window exists yet: opening is logged and the dialog stays closed.
    EXPECT_EQ(core->openMainDialog(), ResultOk);
    EXPECT_FALSE(core->isMainDialogOpen());
    EXPECT_NE(mvk::util::Log::instance()->text().find("Opening main Dialog"), std::string::npos);
    EXPECT_FALSE(core->isRecording());
    EXPECT_EQ(core->getSlowMotion(), 1);
    core->setSlowMotion(3);
    EXPECT_EQ(core->getSlowMotion(), 3);
    EXPECT_DOUBLE_EQ(static_cast<core::CoreImplementation*>(core)->getSlowMotionFactor(), 4.0);
    core->setSlowMotion(1);
    EXPECT_EQ(core->getSlowMotion(), 1);
    EXPECT_EQ(core->createInstance("NoSuchTool"), "");
    int32_t value = 77;
    EXPECT_FALSE(core->getSetting(12345, &value));
    EXPECT_EQ(value, 77);
    core::detachCore(core);
}

TEST_F(AttachTest, SubsystemsAreRegisteredInDeclarationOrder) {
    CoreInterface* core = core::attachCore(&host);
    ASSERT_NE(core, nullptr);
    auto* implementation = static_cast<core::CoreImplementation*>(core);
    const auto& registry = core::CoreSubSystem::registry();
    ASSERT_EQ(registry.size(), 5u);
    EXPECT_EQ(registry[0], static_cast<core::AdaptorManager*>(implementation));
    EXPECT_EQ(registry[1], static_cast<core::RecordManager*>(implementation));
    EXPECT_EQ(registry[2], static_cast<core::InstanceManager*>(implementation));
    EXPECT_EQ(registry[3], static_cast<core::MainDlg*>(implementation));
    EXPECT_EQ(registry[4], static_cast<core::UpdateManager*>(implementation));
    EXPECT_EQ(implementation->getAdaptor(), &host);
    core::detachCore(core);
}

TEST_F(AttachTest, PerHostDataFolderIsCreatedAtAttach) {
    CoreInterface* core = core::attachCore(&host);
    ASSERT_NE(core, nullptr);
    EXPECT_TRUE(std::filesystem::is_directory(environment.userDataPath() + "/data/refhost"));
    core::detachCore(core);
}

} // namespace

namespace {

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

TEST_F(AttachTest, TheEventPumpAnnouncesItselfAndStartsTheTimer) {
    CoreInterface* core = core::attachCore(&host);
    ASSERT_NE(core, nullptr);
    EXPECT_FALSE(mvk::gui::Toolkit::isPumping());
    ::testing::internal::CaptureStdout();
    core->startEventPump();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "init startRunLoopTimerX\n");
    EXPECT_TRUE(mvk::gui::Toolkit::isPumping());
    core->processEvents();
    core::detachCore(core);
    EXPECT_FALSE(mvk::gui::Toolkit::isPumping());
}

} // namespace
