// The input profile commands as the user drives them through the dialog's buttons, answered by a
// scripted responder, on a real tool's profile store in a temporary user data folder.
#include "core/windows/InputProfileCommands.h"
#include "core/libraries/InputProfileManager.h"
#include "core/windows/BindingText.h"
#include "instances/InstanceFixture.h"
#include "platform/Interaction.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"

#include <filesystem>
#include <set>

namespace qvn::test {
namespace {

using mvk::platform::MessageBoxFlag::No;
using mvk::platform::MessageBoxFlag::Yes;
using mvk::util::xml::Element;
namespace fs = std::filesystem;

class InputProfileCommandsTest : public InstanceFixture {
protected:
    void SetUp() override {
        InstanceFixture::SetUp();
        instance = make();
        ASSERT_NE(instance, nullptr);
        store = &rig->inputProfiles();
        commands.emplace(*instance, *store);
    }
    mvk::unidevice::Property* pan() const { return instance->getProperties()->property("Pan"); }
    std::string userFolder() const { return store->destinationPath(); }
    // Every file below the temporary root, with its size, to see that nothing else changed.
    std::set<std::string> files() const {
        std::set<std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(environment.root()))
            if (entry.is_regular_file())
                found.insert(entry.path().string() + ":" + std::to_string(entry.file_size()));
        return found;
    }
    std::string lastText() const { return script.questions().back().text; }
    std::string lastCaption() const { return script.questions().back().caption; }

    Instance* instance = nullptr;
    Tool::InputProfileManager* store = nullptr;
    std::optional<InputProfileCommands> commands;
};

TEST_F(InputProfileCommandsTest, NewNamesAreCheckedAndAnExistingOneIsOverwrittenOnlyWhenAgreed) {
    pan()->setMultiplier(2);
    script.pushText("a.b");
    script.pushText("a b");
    ASSERT_TRUE(commands->saveAsNew());
    ASSERT_EQ(script.count("textInput"), 2);
    EXPECT_EQ(script.questions()[0].extra, "Select a new name");
    EXPECT_EQ(script.questions()[1].extra,
              "a.b - name contains forbidden characters. \n The following characters are not "
              "allowed: \\ / : * ? \" < > | . , [ ] ; =");
    EXPECT_EQ(instance->getInputProfileName(), "a b");
    Element written;
    ASSERT_EQ(written.load(userFolder() + "/a b.mip"), Element::Parsed);
    EXPECT_EQ(written.name(), "profile");
    EXPECT_EQ(written.attribute("name"), "a b");
    EXPECT_EQ(written.child("property", 0).child("multiplier").text(), "2");

    // Taking the same name again: declined, asked again with the reason, then cancelled.
    pan()->setMultiplier(3);
    const auto before = files();
    script.pushText("a b");
    script.pushButton(No);
    EXPECT_FALSE(commands->saveAsNew());
    EXPECT_EQ(script.questions()[3].text,
              "This will overwrite the profile a b, do you wish to continue?");
    EXPECT_EQ(script.questions()[3].caption, "Overwrite?");
    EXPECT_EQ(script.questions()[4].extra, "a b - name already exists.");
    EXPECT_EQ(files(), before);

    // Saving over it with the user's consent.
    script.pushButton(Yes);
    EXPECT_TRUE(commands->save("a b"));
    EXPECT_EQ(store->elementByName("a b").child("property", 0).child("multiplier").text(), "3");
}

TEST_F(InputProfileCommandsTest, ImportAsksForEachExistingNameAndDecliningKeepsTheStoredOne) {
    pan()->setMultiplier(2);
    ASSERT_TRUE(commands->save("Pad"));
    const std::string single = environment.writeFile(
        "elsewhere/pad.mip",
        "<profile name=\"Pad\"><property name=\"Pan\"><multiplier>5</multiplier></property>"
        "</profile>");
    script.pushText(single);
    script.pushButton(No); // keep the stored one, and give the import no other name
    EXPECT_EQ(commands->importProfiles(), 0);
    EXPECT_EQ(script.questions()[0].extra,
              userFolder() + "|Morvik Input Profiles (*.mip);;All files (*.*)");
    EXPECT_EQ(script.questions()[1].text,
              "A profile with the name Pad already exists. This will overwrite that profile, do "
              "you wish to continue?");
    EXPECT_EQ(script.questions()[2].extra, "Select a new name");
    EXPECT_EQ(store->elementByName("Pad").child("property", 0).child("multiplier").text(), "2");

    // Several profiles in one file: the first overwrites after consent, the second is new.
    const std::string several = environment.writeFile(
        "elsewhere/set.mip",
        "<unidevice><profile name=\"Pad\"><property name=\"Pan\"><multiplier>5</multiplier>"
        "</property></profile><profile name=\"Keys\"/></unidevice>");
    script.pushText(several);
    script.pushButton(Yes);
    EXPECT_EQ(commands->importProfiles(), 2);
    EXPECT_EQ(store->elementByName("Pad").child("property", 0).child("multiplier").text(), "5");
    EXPECT_TRUE(fs::exists(userFolder() + "/Keys.mip"));

    // An unreadable file changes nothing.
    script.pushText(environment.writeFile("elsewhere/bad.mip", "<profile name="));
    EXPECT_EQ(commands->importProfiles(), 0);
    EXPECT_EQ(lastText(), "The profile could not be imported.");
    EXPECT_EQ(lastCaption(), "Morvik Quorvane - Error");
}

TEST_F(InputProfileCommandsTest, ExportNamesTheProfileAfterTheChosenFile) {
    pan()->setOffset(0.5);
    const std::string path = environment.root() + "/x/My.mip";
    fs::create_directories(environment.root() + "/x");
    script.pushText(path);
    ASSERT_TRUE(commands->exportProfile(""));
    EXPECT_EQ(script.questions()[0].extra, userFolder() + "|Morvik Input Profiles (*.mip)");
    Element written;
    ASSERT_EQ(written.load(path), Element::Parsed);
    EXPECT_EQ(written.attribute("name"), "My");
    EXPECT_EQ(written.child("property", 0).child("offset").text(), "0.5");
    EXPECT_FALSE(store->hasElement("My")); // exporting stores nothing
}

// Installed profiles: an example cannot be overwritten, renamed or deleted. Any other installed
// profile is no example: saving it writes the user's own copy, which hides the installed file from
// then on, and deleting the copy brings the installed one back.
TEST_F(InputProfileCommandsTest, ExamplesAreKeptAndSavingAnyOtherInstalledProfileWritesACopy) {
    const std::string installed = store->sourcePaths()[2] + "/studio.mip";
    environment.writeFile(store->sourcePaths()[2] + "/pad.mip",
                          "<profile name=\"Example:Gamepad\"/>");
    environment.writeFile(installed, "<profile name=\"Studio\"/>");
    store->reload();
    ASSERT_TRUE(store->hasElement("Example:Gamepad"));
    const auto before = files();

    EXPECT_FALSE(commands->save("Example:Gamepad"));
    EXPECT_EQ(lastText(), "The specified profile is considered read-only and cannot be "
                          "overwritten.\nPlease specify another profile name");
    EXPECT_EQ(lastCaption(), "Morvik Quorvane - Error");
    EXPECT_FALSE(commands->rename("Example:Gamepad"));
    EXPECT_EQ(lastText(), "Cannot rename example profiles.");
    EXPECT_FALSE(commands->remove("Example:Gamepad"));
    EXPECT_EQ(lastCaption(), "Morvik Quorvane - Error");
    EXPECT_EQ(script.count("textInput"), 0);
    EXPECT_EQ(files(), before);
    EXPECT_TRUE(store->hasElement("Example:Gamepad"));

    pan()->setExponent(3);
    script.pushButton(Yes);
    ASSERT_TRUE(commands->save("Studio"));
    EXPECT_EQ(lastText(), "This will overwrite the profile Studio, do you wish to continue?");
    EXPECT_EQ(TestEnvironment::readFile(installed), "<profile name=\"Studio\"/>");
    store->reload();
    EXPECT_EQ(store->fileOf("Studio"), userFolder() + "/Studio.mip");
    EXPECT_EQ(store->elementByName("Studio").child("property", 0).child("exponent").text(), "3");

    script.pushButton(Yes);
    EXPECT_TRUE(commands->remove("Studio"));
    EXPECT_FALSE(fs::exists(userFolder() + "/Studio.mip"));
    EXPECT_EQ(store->fileOf("Studio"), installed);
    EXPECT_TRUE(store->elementByName("Studio").child("property", 0).isEmpty());
}

TEST_F(InputProfileCommandsTest, RenameDeleteAndStartProfileWorkOnTheUsersOwnFiles) {
    ASSERT_TRUE(commands->save("Mine"));
    script.pushText("Ours");
    EXPECT_EQ(commands->rename("Mine"), std::optional<std::string>("Ours"));
    EXPECT_EQ(script.questions().back().extra, "Set a new name");
    EXPECT_FALSE(fs::exists(userFolder() + "/Mine.mip"));
    EXPECT_TRUE(fs::exists(userFolder() + "/Ours.mip"));
    EXPECT_EQ(instance->getInputProfileName(), "Ours");

    script.pushButton(Yes);
    EXPECT_TRUE(commands->remove("Ours"));
    EXPECT_EQ(lastText(), "Do you really want to delete the profile: Ours");
    EXPECT_FALSE(fs::exists(userFolder() + "/Ours.mip"));

    pan()->setExponent(2);
    ASSERT_TRUE(commands->saveAsStartProfile());
    EXPECT_EQ(commands->status(), "Start Profile saved");
    Element start;
    ASSERT_EQ(start.load(userFolder() + "/Start Profile.mip"), Element::Parsed);
    EXPECT_EQ(start.child("property", 0).child("exponent").text(), "2");
}

TEST_F(InputProfileCommandsTest, AProfileBindingAMissingControllerLoadsWithTheMissingCount) {
    environment.writeFile(userFolder() + "/Gone.mip",
                          "<profile name=\"Gone\"><property name=\"Pan\">"
                          "<control device=\"Unplugged Pad\" type=\"axis\" index=\"0\">"
                          "<description>Unplugged Pad: Left Stick X</description></control>"
                          "</property></profile>");
    store->reload();
    EXPECT_EQ(commands->load("Gone"), std::optional<int>(1));
    EXPECT_EQ(BindingText::of(*pan()), "[none]");
    EXPECT_EQ(pan()->binding().attribute("device"), "Unplugged Pad");
    EXPECT_EQ(commands->load("Nothing"), std::nullopt);
}

} // namespace
} // namespace qvn::test
