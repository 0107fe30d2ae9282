#include "platform/FileSystem.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace mvk::platform;

namespace {

TEST(WildcardTest, StarAndQuestionMarkMatchLikeTheShell) {
    EXPECT_TRUE(wildcardMatch("*.so", "driver.so"));
    EXPECT_TRUE(wildcardMatch("*.so", ".so"));
    EXPECT_FALSE(wildcardMatch("*.so", "driver.so.1"));
    EXPECT_TRUE(wildcardMatch("a?c*", "abcdef"));
    EXPECT_FALSE(wildcardMatch("a?c", "ac"));
    EXPECT_TRUE(wildcardMatch("*a*b*c*", "xxaxxbxxcxx"));
    EXPECT_FALSE(wildcardMatch("*a*b*c*", "xxaxxcxxbxx"));
    EXPECT_TRUE(wildcardMatch("*", ""));
    EXPECT_FALSE(wildcardMatch("", "x"));
    // Pathological patterns stay fast (no exponential backtracking).
    EXPECT_FALSE(wildcardMatch("*a*a*a*a*a*a*a*a*b", std::string(5000, 'a')));
}

TEST(FileSystemTest, ListingIsSortedByteWiseAndSkipsFolders) {
    qvn::test::TestEnvironment environment;
    const std::string folder = environment.root() + "/list";
    for (const char* name : {"b.prm", "a.prm", "B.prm", "c.txt", "_.prm"})
        environment.writeFile(folder + "/" + name, "x");
    createFolders(folder + "/d.prm");
    EXPECT_EQ(listFiles(folder, "*.prm"),
              (std::vector<std::string>{"B.prm", "_.prm", "a.prm", "b.prm"}));
    EXPECT_TRUE(listFiles(folder + "/missing", "*").empty());
}

TEST(FileSystemTest, CreateFolderMakesOneLevelOnly) {
    qvn::test::TestEnvironment environment;
    const std::string base = environment.root() + "/one";
    createFolder(base + "/two/three");
    EXPECT_FALSE(folderExists(base));
    createFolder(base);
    createFolder(base); // existing: no error
    createFolder(base + "/two");
    EXPECT_TRUE(folderExists(base + "/two"));
}

TEST(FileSystemTest, RemoveFileReportsWhetherSomethingWentAway) {
    qvn::test::TestEnvironment environment;
    const std::string file = environment.writeFile("gone.mcp", "data");
    EXPECT_TRUE(fileExists(file));
    EXPECT_TRUE(removeFile(file));
    EXPECT_FALSE(fileExists(file));
    EXPECT_FALSE(removeFile(file));
}

} // namespace
