#include "core/MainConfigSettings.h"
#include "platform/Interaction.h"
#include "support/FileSizeLimit.h"
#include "support/TestEnvironment.h"
#include "util/Log.h"
#include "util/xml/Element.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using mvk::qvn::core::MainConfigSettings;
using mvk::util::xml::Element;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = environment.userDataPath() + "/data/refhost";
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        mvk::platform::setSilent(false);
        if (auto* log = mvk::util::Log::existing())
            log->destroy();
    }
    void writeSettings(const std::string& text) const {
        environment.writeFile(folder + "/settings.xml", text);
    }
    // (id, text) of every item in the written file.
    std::vector<std::pair<std::string, std::string>> savedItems() const {
        Element document;
        EXPECT_EQ(document.load(folder + "/settings.xml"), 0);
        EXPECT_EQ(document.name(), "QVNConfig");
        std::vector<std::pair<std::string, std::string>> items;
        for (int i = 0; i < document.childCount(); ++i)
            items.emplace_back(static_cast<const Element&>(document.child(i)).attribute("id"),
                               document.child(i).text());
        return items;
    }

    // Every name in `path`, hidden ones included, sorted.
    static std::vector<std::string> filesIn(const std::string& path) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    qvn::test::TestEnvironment environment;
    std::string folder;
};

TEST_F(SettingsTest, OnlyItem100ChangesOnlyTheCountdown) {
    writeSettings("<QVNConfig><item id=\"100\">5</item></QVNConfig>");
    MainConfigSettings settings;
    settings.load(folder);
    std::string text;
    int32_t number = -1;
    bool flag = false;
    EXPECT_TRUE(settings.getSetting(MainConfigSettings::IdFilePath, &text));
    EXPECT_EQ(text, folder + "/settings.xml");
    EXPECT_TRUE(settings.getSetting(MainConfigSettings::IdCountdown, &number));
    EXPECT_EQ(number, 5);
    EXPECT_TRUE(settings.getSetting(MainConfigSettings::IdStayOnTop, &flag));
    EXPECT_TRUE(flag);
    EXPECT_TRUE(settings.getSetting(MainConfigSettings::IdLogLevel, &text));
    EXPECT_EQ(text, "High");
    EXPECT_FALSE(settings.silent());
    // Unknown ids leave the output alone.
    number = 77;
    EXPECT_FALSE(settings.getSetting(12345, &number));
    EXPECT_EQ(number, 77);

    writeSettings("<QVNConfig><item>9</item><item id='102'>7</item><item id='103'>0</item>"
                  "<item id='106'>Debug</item><other id='100'>3</other></QVNConfig>");
    settings.load(folder);
    EXPECT_EQ(settings.countdownSeconds(), 2); // items without "id", and other tags, are skipped
    EXPECT_TRUE(settings.silent());
    EXPECT_TRUE(mvk::platform::isSilent());
    EXPECT_FALSE(settings.stayOnTop());
    EXPECT_EQ(settings.logLevelName(), "Debug");
    EXPECT_EQ(mvk::util::Log::threshold(), 3); // loading does not change the threshold
}

TEST_F(SettingsTest, BrokenOrMissingFilesKeepTheDefaults) {
    for (const std::string text : {"<QVNConfig><item id='100'>5</item>", "garbage", ""}) {
        writeSettings(text);
        MainConfigSettings settings;
        settings.setCountdownSeconds(9);
        settings.load(folder);
        EXPECT_EQ(settings.countdownSeconds(), 2) << text;
    }
    std::filesystem::remove(folder + "/settings.xml");
    MainConfigSettings settings;
    settings.load(folder);
    EXPECT_EQ(settings.countdownSeconds(), 2);
}

TEST_F(SettingsTest, AdditionalSettingsSurviveARestart) {
    {
        MainConfigSettings settings;
        settings.load(folder);
        settings.addSetting<double>(700, 1.5);
        settings.addSetting<int32_t>(701, 3);
        settings.addSetting<int32_t>(701, 4);
        const double changed = 2.75;
        settings.setSetting(700, &changed);
    } // saved by the destructor
    MainConfigSettings settings;
    settings.load(folder);
    settings.addSetting<double>(700, 0.0);
    settings.addSetting<int32_t>(701, 0);
    settings.addSetting<int32_t>(701, 0);
    double value = 0;
    ASSERT_TRUE(settings.getSetting(700, &value));
    EXPECT_DOUBLE_EQ(value, 2.75);
    // Look-ups and changes of a duplicated id use the first setting.
    int32_t first = 0;
    const int32_t five = 5;
    EXPECT_TRUE(settings.getSetting(701, &first));
    EXPECT_EQ(first, 3);
    EXPECT_TRUE(settings.setSetting(701, &five));
    EXPECT_FALSE(settings.setSetting(702, &five));
    // The second setting of a duplicated id gets the second stored value back.
    EXPECT_EQ(settings.additionalCount(), 3);
    settings.save();
    using Item = std::pair<std::string, std::string>;
    const auto items = savedItems();
    ASSERT_EQ(items.size(), 10u);
    EXPECT_EQ(items[5], (Item{"701", "5"}));
    EXPECT_EQ(items[6], (Item{"701", "4"}));
    // The OSC listener's items follow the additional settings: off, port 9000, all interfaces.
    EXPECT_EQ(items[7], (Item{"120", "0"}));
    EXPECT_EQ(items[8], (Item{"121", "9000"}));
    EXPECT_EQ(items[9], (Item{"122", "0"}));
}

TEST_F(SettingsTest, TheOscListenerSettingsReadBackAndAPortOutOfRangeKeepsTheDefault) {
    writeSettings("<QVNConfig><item id='120'>1</item><item id='121'>9123</item>"
                  "<item id='122'>1</item></QVNConfig>");
    MainConfigSettings settings;
    settings.load(folder);
    EXPECT_TRUE(settings.oscEnabled());
    EXPECT_EQ(settings.oscPort(), 9123);
    EXPECT_TRUE(settings.oscLoopbackOnly());
    using Pair = std::pair<std::string, std::string>;
    EXPECT_EQ(settings.driverSettings(),
              (std::vector<Pair>{{"osc.enabled", "1"}, {"osc.port", "9123"},
                                 {"osc.loopbackOnly", "1"}}));
    for (const char* port : {"0", "65536", "-9000", "port"}) {
        writeSettings(std::string("<QVNConfig><item id='121'>") + port + "</item></QVNConfig>");
        settings.load(folder);
        EXPECT_EQ(settings.oscPort(), 9000) << port;
        EXPECT_FALSE(settings.oscEnabled());
    }
}

TEST_F(SettingsTest, AFailedWriteKeepsThePreviousFileAndLeavesNoTemporaryFile) {
    writeSettings("<QVNConfig><item id=\"100\">5</item></QVNConfig>");
    const std::string before = qvn::test::TestEnvironment::readFile(folder + "/settings.xml");
    MainConfigSettings settings;
    settings.load(folder);
    settings.setCountdownSeconds(8);
    {
        const qvn::test::FileSizeLimit full(16);
        EXPECT_FALSE(settings.save());
    }
    EXPECT_EQ(qvn::test::TestEnvironment::readFile(folder + "/settings.xml"), before);
    EXPECT_EQ(filesIn(folder), std::vector<std::string>{"settings.xml"});
    EXPECT_TRUE(settings.save());
    EXPECT_NE(qvn::test::TestEnvironment::readFile(folder + "/settings.xml"), before);
    // A folder that does not exist at all cannot be written either.
    MainConfigSettings elsewhere;
    elsewhere.load(environment.root() + "/missing");
    EXPECT_FALSE(elsewhere.save());
}

} // namespace
