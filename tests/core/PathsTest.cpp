#include "core/Paths.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace mvk::qvn::core;

namespace {

// The documents folder and the folders above the user data folder are the user's and the
// installer's; below an existing user data folder any missing level may be made.
TEST(PathsTest, DataFoldersAreMadeOnlyBelowAnExistingUserDataFolder) {
    namespace fs = std::filesystem;
    qvn::test::TestEnvironment environment;
    const std::string documents = environment.home() + "/Documents";
    const std::string userData = getUserDataPath();
    const std::string profiles = userData + "/data/cam/configprofiles";
    fs::remove_all(documents);
    EXPECT_FALSE(createDataFolder(profiles));
    EXPECT_FALSE(createDataFolder(documents + "/./Morvik Vedidedivu//quorvane/data"));
    EXPECT_FALSE(fs::exists(documents));

    fs::create_directory(documents);
    EXPECT_FALSE(createDataFolder(profiles));
    EXPECT_FALSE(createDataFolder(userData));
    EXPECT_FALSE(fs::exists(documents + "/Morvik Vedidedivu"));
    // Folders elsewhere are not guarded.
    EXPECT_TRUE(createDataFolder(environment.root() + "/elsewhere/a/b"));

    environment.userDataPath();
    EXPECT_TRUE(createDataFolder(profiles));
    EXPECT_TRUE(fs::is_directory(profiles));
    EXPECT_TRUE(createDataFolder(profiles)) << "an existing folder is fine";
    EXPECT_FALSE(createDataFolder(""));
}

} // namespace
