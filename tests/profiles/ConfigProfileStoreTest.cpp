#include "core/libraries/ConfigProfileManager.h"
#include "profiles/StoreFixture.h"
#include "support/FileSizeLimit.h"
#include "util/xml/Element.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using mvk::qvn::core::Tool;
using mvk::qvn::core::XMLFileManager;
using mvk::util::xml::Element;
using ::testing::ElementsAre;

namespace {

// A current profile with one text item holding `value`.
std::string profileText(const std::string& name, const std::string& value) {
    return "<configprofile version=\"2.0\" name=\"" + name +
           "\"><item id=\"1\" label=\"Mode\" type=\"text\">" + value + "</item></configprofile>";
}

std::string fileText(const std::string& profiles) {
    return "<configprofiles version=\"2.0\">" + profiles + "</configprofiles>";
}

Element profile(const std::string& name, const std::string& value) {
    return Element(profileText(name, value));
}

std::string valueOf(const Element& element) {
    return element.child("item").text();
}

class ConfigProfileStoreTest : public qvn::test::StoreFixture {
protected:
    ConfigProfileStoreTest() : StoreFixture("configprofiles") {}
    void setUp() { store.setUp(dataFolder(), installedFolder()); }

    Tool::ConfigProfileManager store;
};

TEST_F(ConfigProfileStoreTest, SetUpWritesAndLogsWhatTheStoreDoes) {
    markLog();
    setUp();
    EXPECT_EQ(store.destinationPath(), destination());
    EXPECT_THAT(store.sourcePaths(),
                ElementsAre(destination(), installedFolder() + "/configprofile.xml",
                            installedFolder() + "/configprofiles"));
    // Nothing exists yet: the destination folder is made, with its parents, on the first save.
    EXPECT_EQ(store.addElement(profile("Mine", "a"), true, false), XMLFileManager::Done);
    EXPECT_EQ(store.addElement(profile("Mine", "b"), false, false), XMLFileManager::Done);
    EXPECT_EQ(store.addElement(profile("factory settings", "c"), true, false),
              XMLFileManager::Refused);
    EXPECT_THAT(
        loggedMessages(),
        ElementsAre(
            "Setting destination path: " + destination(), "Adding source path: " + destination(),
            "Adding source path: " + installedFolder() + "/configprofile.xml",
            "Adding source path: " + installedFolder() + "/configprofiles",
            "Reloading elements from files", "Adding file element: Mine", "Saving element to file",
            "Adding new element", "Adding file element: Mine", "Replacing existing element",
            "Adding file element: factory settings", "Name is reserved read-only. Aborting"));
    EXPECT_EQ(store.fileOf("Mine"), userFile("Mine.mcp"));
    const Element written = readBack(userFile("Mine.mcp"));
    EXPECT_EQ(written.toString("", "", ""), fileText(profileText("Mine", "a")));
}

TEST_F(ConfigProfileStoreTest, TheFirstSourceHoldingANameWins) {
    writeInstalled("configprofiles/Start Profile.mcp",
                   fileText(profileText("Start Profile", "folder")));
    writeInstalled("configprofiles/Example.mcp", fileText(profileText("Example", "folder")));
    writeInstalled("configprofile.xml", fileText(profileText("Example", "single") +
                                                 profileText("Start Profile", "single")));
    writeUser("Start Profile.mcp", fileText(profileText("Start Profile", "user")));
    setUp();
    EXPECT_EQ(valueOf(store.elementByName("Start Profile")), "user");
    EXPECT_EQ(valueOf(store.elementByName("Example")), "single");
    EXPECT_THAT(store.names(), ElementsAre("Start Profile", "Example"));

    // Deleting the user's profile uncovers the installed one; installed profiles stay.
    EXPECT_EQ(store.removeElement("Start Profile"), XMLFileManager::Done);
    EXPECT_FALSE(std::filesystem::exists(userFile("Start Profile.mcp")));
    EXPECT_EQ(valueOf(store.elementByName("Start Profile")), "single");
    EXPECT_EQ(store.removeElement("Start Profile"), XMLFileManager::ReadOnly);
    EXPECT_EQ(store.removeElement("Nobody"), XMLFileManager::NotFound);
    EXPECT_TRUE(std::filesystem::exists(installedFolder() + "/configprofile.xml"));
}

TEST_F(ConfigProfileStoreTest, ReservedNamesAndNamesThatLeaveTheDestinationFolderAreRefused) {
    writeInstalled("configprofiles/evil.mcp",
                   fileText(profileText("../../escaped", "i") + profileText("a/b", "i")));
    setUp();
    EXPECT_TRUE(store.names().empty());
    EXPECT_EQ(store.addElement(profile("fActOrY sEtTiNgS", "x"), true, false),
              XMLFileManager::Refused);
    EXPECT_FALSE(std::filesystem::exists(destination()));
    store.addElement(profile("Mine", "m"), true, false);
    const std::set<std::string> before = allFiles();

    const std::string names[] = {"../x", "a\\b", "..", std::string("a\0b", 3)};
    for (const std::string& name : names) {
        Element element = profile("placeholder", "x");
        element.attribute("name") = name;
        EXPECT_EQ(store.addElement(element, true, true), XMLFileManager::Refused) << name;
        EXPECT_EQ(store.addElement(element, false, true), XMLFileManager::Refused) << name;
        EXPECT_EQ(store.renameElement("Mine", name), XMLFileManager::Refused) << name;
        EXPECT_FALSE(store.hasElement(name)) << name;
    }
    EXPECT_EQ(allFiles(), before);
    EXPECT_THAT(store.names(), ElementsAre("Mine"));

    // Forced, the factory profile lives in memory only; it cannot be removed or renamed to, and
    // after a reload it is gone, nor can an installed file smuggle one in.
    EXPECT_EQ(store.addElement(profile("Factory Settings", "f"), false, true),
              XMLFileManager::Done);
    EXPECT_EQ(valueOf(store.elementByName("Factory Settings")), "f");
    EXPECT_EQ(store.removeElement("Factory Settings"), XMLFileManager::Refused);
    EXPECT_EQ(store.renameElement("Mine", "FACTORY settings"), XMLFileManager::Refused);
    writeInstalled("configprofiles/factory.mcp", fileText(profileText("Factory Settings", "i")));
    store.reload();
    EXPECT_FALSE(store.hasElement("Factory Settings"));
}

TEST_F(ConfigProfileStoreTest, SavingAStoredNameOverwritesTheFileItCameFrom) {
    setUp();
    // A file named otherwise, and one holding several profiles, are updated in place, so a
    // stale copy cannot win the next reload and the other profiles survive.
    writeUser("a-renamed.mcp", fileText(profileText("Renamed", "1")));
    writeUser("bundle.mcp", fileText(profileText("First", "1") + profileText("Second", "1")));
    store.reload();
    store.addElement(profile("Renamed", "2"), true, false);
    store.addElement(profile("First", "2"), true, false);
    EXPECT_FALSE(std::filesystem::exists(userFile("Renamed.mcp")));
    EXPECT_FALSE(std::filesystem::exists(userFile("First.mcp")));
    store.reload();
    EXPECT_EQ(valueOf(store.elementByName("Renamed")), "2");
    EXPECT_EQ(valueOf(store.elementByName("First")), "2");
    EXPECT_EQ(valueOf(store.elementByName("Second")), "1");

    // Removing one profile of a shared file keeps the other.
    EXPECT_EQ(store.removeElement("Second"), XMLFileManager::Done);
    store.reload();
    EXPECT_FALSE(store.hasElement("Second"));
    EXPECT_EQ(store.fileOf("First"), userFile("bundle.mcp"));
}

TEST_F(ConfigProfileStoreTest, ReadsSeveralProfilesAndConvertsOlderOnes) {
    writeUser("several.mcp", fileText(profileText("One", "1") + profileText("Two", "2") +
                                      "<configprofile version=\"1.0\"><profile name=\"Three\">"
                                      "<text name=\"Mode\"><value>3</value></text>"
                                      "</profile></configprofile>"));
    writeUser("old1.mcp", "<ConfigProfile><profile name=\"Four\"><spinner id=\"1\" "
                          "name=\"Mode\">4</spinner></profile></ConfigProfile>");
    writeUser("old2.mcp", "<qvn_config name=\"Five\"><check name=\"Mode\">true</check>"
                          "</qvn_config>");
    writeUser("old3.mcp", "<CameraConfig><profile name=\"Six\"/><profile name=\"Seven\"/>"
                          "</CameraConfig>");
    writeUser("unnamed.mcp", "<configprofile version=\"2.0\"/>");
    writeUser("other-version.mcp",
              "<configprofiles version=\"1.0\">" + profileText("No", "0") + "</configprofiles>");
    writeUser("broken.mcp", "<configprofiles version=\"2.0\"><configprofile");
    writeUser("foreign.mcp", "<QVNConfig/>");
    setUp();
    EXPECT_THAT(store.names(),
                ElementsAre("Four", "Five", "Six", "Seven", "One", "Two", "Three", "unnamed"));
    EXPECT_EQ(store.fileOf("Two"), userFile("several.mcp"));
    EXPECT_FALSE(store.elementByName("One").hasAttribute("converted"));
    EXPECT_EQ(store.elementByName("Three").attribute("converted"), "yes");
    EXPECT_EQ(valueOf(store.elementByName("Three")), "3");
    EXPECT_EQ(store.elementByName("Four").child("item").attribute("type"), "generic");
    EXPECT_EQ(valueOf(store.elementByName("Four")), "4");
    EXPECT_EQ(valueOf(store.elementByName("Five")), "1");

    // Storing into an older file rewrites it in the current form.
    EXPECT_EQ(store.addElement(profile("Six", "6"), true, false), XMLFileManager::Done);
    const Element file = readBack(userFile("old3.mcp"));
    EXPECT_EQ(file.toString("", "", ""),
              fileText("<configprofile version=\"2.0\" name=\"Seven\" converted=\"yes\"/>" +
                       profileText("Six", "6")));
}

TEST_F(ConfigProfileStoreTest, AFailedWriteKeepsTheOldFileAndTheStore) {
    setUp();
    store.addElement(profile("Mine", "old"), true, false);
    const std::string before = qvn::test::TestEnvironment::readFile(userFile("Mine.mcp"));
    const std::set<std::string> files = allFiles();
    {
        const qvn::test::FileSizeLimit full(16);
        EXPECT_EQ(store.addElement(profile("Mine", "new"), true, false),
                  XMLFileManager::WriteFailed);
        EXPECT_EQ(valueOf(store.elementByName("Mine")), "old");
        EXPECT_EQ(store.addElement(profile("New", "new"), true, false),
                  XMLFileManager::WriteFailed);
        EXPECT_FALSE(store.hasElement("New"));
        EXPECT_EQ(store.renameElement("Mine", "New"), XMLFileManager::WriteFailed);
        EXPECT_TRUE(store.hasElement("Mine"));
    }
    EXPECT_EQ(qvn::test::TestEnvironment::readFile(userFile("Mine.mcp")), before);
    // No temporary file of the failed writes is left behind.
    EXPECT_EQ(allFiles(), files);

    EXPECT_EQ(store.renameElement("Mine", "New"), XMLFileManager::Done);
    EXPECT_FALSE(std::filesystem::exists(userFile("Mine.mcp")));
    EXPECT_EQ(readBack(userFile("New.mcp")).child(0).attribute("name"), "New");
}

} // namespace
