#include "platform/DynamicLibrary.h"
#include "platform/Interaction.h"
#include "platform/ShellFolders.h"
#include "platform/TickCount.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace mvk::platform;

namespace {

TEST(ShellFoldersTest, InstallRootComesFromTheEnvironment) {
    qvn::test::TestEnvironment environment;
    EXPECT_EQ(installRoot(), environment.installRoot());
    unsetenv("QUORVANE_INSTALL_ROOT");
    // This test program does not live in <root>/quorvane/lib, so nothing can be deduced.
    EXPECT_EQ(installRoot(), "");
}

TEST(ShellFoldersTest, DocumentsFolderFollowsHome) {
    qvn::test::TestEnvironment environment;
    EXPECT_EQ(documentsFolder(), environment.home() + "/Documents");
    EXPECT_FALSE(desktopFolder().empty());
}

TEST(TickCountTest, AnInstalledSourceReplacesTheClockUntilRemoved) {
    uint32_t now = 0xFFFFFFF0u;
    setTickSource([&] { return now; });
    EXPECT_EQ(tickCount(), 0xFFFFFFF0u);
    now += 0x20; // wraps like the system counter
    EXPECT_EQ(tickCount(), 0x10u);
    setTickSource({});
    const uint32_t a = tickCount();
    const uint32_t b = tickCount();
    EXPECT_LE(static_cast<uint32_t>(b - a), 1000u);
}

TEST(DynamicLibraryTest, MissingLibrariesAndSymbolsAnswerNullWithAReason) {
    EXPECT_EQ(loadLibrary("/no/such/library.so"), nullptr);
    EXPECT_FALSE(lastLoadError().empty());
    EXPECT_EQ(findSymbol(nullptr, "getVersion"), nullptr);
    freeLibrary(nullptr);
    ModuleHandle self = moduleOf(reinterpret_cast<const void*>(&loadLibrary));
    EXPECT_NE(self, nullptr);
    EXPECT_FALSE(modulePathOf(reinterpret_cast<const void*>(&loadLibrary)).empty());
}

TEST(InteractionTest, EarlyErrorsReachTheResponderUnlessSilent) {
    qvn::test::ScriptedInteraction script;
    showEarlyError("first");
    setSilent(true);
    showEarlyError("second");
    setSilent(false);
    ASSERT_EQ(script.questions().size(), 1u);
    EXPECT_EQ(script.questions()[0].text, "first");
    EXPECT_EQ(script.questions()[0].caption, "");
    EXPECT_EQ(script.questions()[0].flags, MessageBoxFlag::Ok);
}

} // namespace
