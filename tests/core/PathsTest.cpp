#include "core/Paths.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace mvk::qvn::core;

namespace {

TEST(PathsTest, EveryKeyMapsBelowTheInstallRoot) {
    qvn::test::TestEnvironment environment;
    const std::string root = environment.installRoot();
    EXPECT_EQ(getInstallPath("data"), root + "/quorvane/data");
    EXPECT_EQ(getInstallPath("plugin"), root + "/quorvane/plugins/linux/x64");
    EXPECT_EQ(getInstallPath("doc"), root + "/quorvane/doc");
    EXPECT_EQ(getInstallPath("prm"), root + "/quorvane/prm");
    EXPECT_EQ(getInstallPath(""), root + "/quorvane");
    EXPECT_EQ(getInstallPath("qvn"), root + "/quorvane");
    EXPECT_EQ(getInstallPath("images"), root);
    EXPECT_EQ(getInstallPath("DATA"), root);
}

TEST(PathsTest, UnknownInstallRootGivesEmptyPaths) {
    qvn::test::TestEnvironment environment;
    unsetenv("QUORVANE_INSTALL_ROOT");
    EXPECT_EQ(getInstallPath("data"), "");
    EXPECT_EQ(getInstallPath(""), "");
}

TEST(PathsTest, UserDataLivesInTheDocumentsFolder) {
    qvn::test::TestEnvironment environment;
    EXPECT_EQ(getUserDataPath(), environment.home() + "/Documents/Morvik Vedidedivu/quorvane");
    EXPECT_EQ(getCoreDataPath(), getUserDataPath() + "/data/core");
}

} // namespace
