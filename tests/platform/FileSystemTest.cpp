#include "platform/FileSystem.h"
#include "support/StuckReaderRelease.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

using namespace mvk::platform;

namespace {

TEST(WildcardTest, StarAndQuestionMarkMatchLikeTheShell) {
    EXPECT_TRUE(wildcardMatch("*.so", "driver.so"));
    EXPECT_FALSE(wildcardMatch("*.so", "driver.so.1"));
    EXPECT_FALSE(wildcardMatch("a?c", "ac"));
    EXPECT_FALSE(wildcardMatch("*a*b*c*", "xxaxxcxxbxx"));
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

// Whatever sits under a file's name, only a regular file is read; everything else answers at
// once as unreadable and leaves the caller's buffer alone.
TEST(FileSystemTest, OnlyRegularFilesAreRead) {
    qvn::test::TestEnvironment environment;
    const std::string folder = environment.root() + "/special";
    createFolders(folder);
    std::string contents = "untouched";
    {
        qvn::test::StuckReaderRelease fifo(folder + "/fifo.xml", std::chrono::seconds(10));
        ASSERT_TRUE(fifo.created());
        EXPECT_FALSE(readRegularFile(folder + "/fifo.xml", contents));
        fifo.finished();
        EXPECT_FALSE(fifo.released()) << "the read waited for a writer";
    }
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = folder + "/socket.xml";
    ASSERT_LT(socketPath.size(), sizeof(address.sun_path));
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_FALSE(readRegularFile(socketPath, contents));
    close(listener);
    // A link to a device is judged by the device; /dev/zero would never end.
    std::filesystem::create_symlink("/dev/zero", folder + "/zero.xml");
    EXPECT_FALSE(readRegularFile(folder + "/zero.xml", contents));
    EXPECT_FALSE(readRegularFile(folder, contents));
    EXPECT_FALSE(readRegularFile(folder + "/missing.xml", contents));
    EXPECT_EQ(contents, "untouched");

    const std::string bytes = std::string("a\0b\r\n", 5) + std::string(200000, 'x');
    environment.writeFile(folder + "/plain.xml", bytes);
    std::filesystem::create_symlink(folder + "/plain.xml", folder + "/link.xml");
    ASSERT_TRUE(readRegularFile(folder + "/link.xml", contents));
    EXPECT_EQ(contents, bytes);
}

} // namespace
