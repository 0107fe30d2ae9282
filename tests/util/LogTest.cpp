#include "support/LogLines.h"
#include "support/TestEnvironment.h"
#include "util/Log.h"
#include "util/SingletonCollector.h"

#include <gtest/gtest.h>

#include <vector>

using mvk::util::Log;
using qvn::test::splitLines;

namespace {

class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        // 7 March 2024, 09:05:00 UTC.
        Log::setClock([] { return std::time_t(1709802300); });
    }
    void TearDown() override {
        if (Log* log = Log::existing())
            log->destroy();
        Log::setClock({});
    }
    qvn::test::TestEnvironment environment;
};

TEST_F(LogTest, LineFormatCarriesUtcStampLevelNameAndSectionTabs) {
    Log::instance()->write("top", 3);
    {
        Log section("Initializing unidevice", 3);
        section.write("inside", 2);
    }
    const auto text = splitLines(Log::instance()->text());
    ASSERT_EQ(text.size(), 3u);
    EXPECT_EQ(text[0], "20240307 09:05:00 (NOTICE): top");
    EXPECT_EQ(text[1], "20240307 09:05:00 (NOTICE): \tInitializing unidevice");
    EXPECT_EQ(text[2], "20240307 09:05:00 (WARNING): \tinside");
}

TEST_F(LogTest, ThresholdHidesHigherLevelsButDisabledStillLetsLevelZeroThrough) {
    Log::setLevel(1);
    {
        Log section("quiet section", 3);
        section.write("value", 42, 3);
    }
    EXPECT_EQ(Log::instance()->text(), "");
    Log::setLevel(0);
    Log::instance()->write("critical", 0);
    Log::instance()->write("error", 1);
    const auto text = splitLines(Log::instance()->text());
    ASSERT_EQ(text.size(), 1u);
    EXPECT_NE(text[0].find("(CRITICAL): critical"), std::string::npos);
}

TEST_F(LogTest, UnwritableFilesKeepTheBuffer) {
    Log::instance()->setFile(environment.root() + "/missing/folder/core.log");
    Log::instance()->write("kept", 3);
    EXPECT_FALSE(Log::instance()->hasFile());
    const std::string before = Log::instance()->text();
    EXPECT_NE(before.find("kept"), std::string::npos);
    EXPECT_FALSE(Log::instance()->save(environment.root() + "/no/such/folder/saved.log"));
    EXPECT_EQ(Log::instance()->text(), before);
    const std::string target = environment.root() + "/saved.log";
    EXPECT_TRUE(Log::instance()->save(target));
    EXPECT_EQ(qvn::test::TestEnvironment::readFile(target), before);
}

} // namespace
