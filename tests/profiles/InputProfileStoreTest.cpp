#include "core/libraries/InputProfileManager.h"
#include "platform/FileSystem.h"
#include "profiles/StoreFixture.h"
#include "support/ConcurrentWriters.h"
#include "util/xml/Element.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using mvk::qvn::core::Tool;
using mvk::qvn::core::XMLFileManager;
using mvk::util::xml::Element;
using ::testing::ElementsAre;

namespace {

std::string profileText(const std::string& name, const std::string& multiplier) {
    return "<profile name=\"" + name + "\"><property name=\"pan\"><multiplier>" + multiplier +
           "</multiplier></property></profile>";
}

std::string multiplierOf(const Element& profile) {
    return profile.child("property").child("multiplier").text();
}

class InputProfileStoreTest : public qvn::test::StoreFixture {
protected:
    InputProfileStoreTest() : StoreFixture("inputprofiles") {}

    Tool::InputProfileManager store;
};

TEST_F(InputProfileStoreTest, ReadsSingleProfilesAndUnideviceFiles) {
    writeUser("one.mip", profileText("One", "1"));
    writeUser("pair.mip", "<unidevice>" + profileText("Two", "2") + "<other/>" +
                              profileText("Three", "3") + "</unidevice>");
    writeUser("ignored.mcp", profileText("Wrong", "0"));
    writeInstalled("inputprofile.xml", profileText("Two", "9"));
    store.setUp(dataFolder(), installedFolder());
    EXPECT_THAT(store.sourcePaths(),
                ElementsAre(destination(), installedFolder() + "/inputprofile.xml",
                            installedFolder() + "/inputprofiles"));
    EXPECT_THAT(store.names(), ElementsAre("One", "Two", "Three"));
    EXPECT_EQ(multiplierOf(store.elementByName("Two")), "2");
    EXPECT_EQ(store.fileOf("Three"), userFile("pair.mip"));
}

TEST_F(InputProfileStoreTest, SavedFilesHoldTheProfileAsTheirRoot) {
    store.setUp(dataFolder(), installedFolder());
    // The instance hands its bindings over wrapped; the file holds the bare profile.
    Element wrapped("<inputprofile>" + profileText("Start Profile", "2") + "</inputprofile>");
    EXPECT_EQ(store.addElement(wrapped, true, false), XMLFileManager::Done);
    EXPECT_EQ(readBack(userFile("Start Profile.mip")).toString("", "", ""),
              profileText("Start Profile", "2"));
    EXPECT_EQ(store.renameElement("Start Profile", "Moved"), XMLFileManager::Done);
    EXPECT_EQ(readBack(userFile("Moved.mip")).toString("", "", ""), profileText("Moved", "2"));

    // Storing into a shared file keeps its other profiles under "unidevice".
    writeUser("pair.mip",
              "<unidevice>" + profileText("A", "1") + profileText("B", "1") + "</unidevice>");
    store.reload();
    EXPECT_EQ(store.addElement(Element(profileText("A", "5")), true, false), XMLFileManager::Done);
    const Element pair = readBack(userFile("pair.mip"));
    EXPECT_EQ(pair.name(), "unidevice");
    ASSERT_EQ(pair.childCount(), 2);
    EXPECT_EQ(pair.child(0).attribute("name"), "B");
    EXPECT_EQ(multiplierOf(pair.child(1)), "5");

    // Export names the profile after the file.
    EXPECT_TRUE(store.exportElement(Element(profileText("Any", "3")), userFile("My.mip")));
    EXPECT_EQ(readBack(userFile("My.mip")).attribute("name"), "My");
}

// Two hosts store the same profile at once: the file always holds one of the two complete
// versions, and temporary files, stale ones of a crashed writer included, are never profiles.
TEST_F(InputProfileStoreTest, TwoProcessesStoringAtOnceNeverTearTheFile) {
    writeUser(".Shared.mip.4242-0-17", profileText("Ghost", "1"));
    writeUser("Shared.mip.new", profileText("Phantom", "1"));
    store.setUp(dataFolder(), installedFolder());
    Element versions[2];
    std::string expected[2];
    for (int w = 0; w < 2; ++w) {
        versions[w] = mvk::util::xml::Tag("profile");
        versions[w].attribute("name") = "Shared";
        // Large enough that a write takes many system calls.
        for (int i = 0; i < 2000; ++i) {
            Element& property = versions[w].addChild(mvk::util::xml::Tag("property"));
            property.attribute("name") = "p" + std::to_string(i);
            property.addChild(mvk::util::xml::TagWithData("multiplier", std::to_string(w)));
        }
        ASSERT_EQ(store.addElement(versions[w], true, false), XMLFileManager::Done);
        expected[w] = qvn::test::TestEnvironment::readFile(userFile("Shared.mip"));
    }
    int reads = 0;
    int torn = 0;
    const int failed = qvn::test::runTwoWriters(
        40,
        [&](int writer) {
            return store.addElement(versions[writer], true, false) == XMLFileManager::Done;
        },
        [&] {
            std::string text;
            ASSERT_TRUE(mvk::platform::readRegularFile(userFile("Shared.mip"), text));
            torn += text == expected[0] || text == expected[1] ? 0 : 1;
            ++reads;
        });
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    store.reload();
    EXPECT_THAT(store.names(), ElementsAre("Shared"));
}

} // namespace
