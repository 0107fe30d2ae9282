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

TEST_F(LogTest, SectionsIndentByScopeAndNegativeLevelMeansTheObjectsOwn) {
    {
        Log outer("outer", 3);
        Log inner("inner", 1);
        inner.write("detail", -1);
        Log logger(2); // made inside the section: keeps the section's depth
        logger.write("from logger");
    }
    Log::instance()->write("after", 3);
    const auto text = splitLines(Log::instance()->text());
    ASSERT_EQ(text.size(), 5u);
    EXPECT_NE(text[1].find("(ERROR): \t\tinner"), std::string::npos);
    EXPECT_NE(text[2].find("(ERROR): \t\tdetail"), std::string::npos);
    EXPECT_NE(text[3].find("(WARNING): \t\tfrom logger"), std::string::npos);
    EXPECT_NE(text[4].find("): after"), std::string::npos);
    EXPECT_EQ(Log::instance()->indent(), -1);
}

TEST_F(LogTest, FileEndsWithEofOnDestructionButNotOnSetFile) {
    const std::string first = environment.root() + "/first.log";
    const std::string second = environment.root() + "/second.log";
    Log::instance()->setFile(first);
    Log::instance()->write("one", 3);
    Log::instance()->setFile(second);
    Log::instance()->write("two", 3);
    Log::instance()->destroy();
    const std::string firstText = qvn::test::TestEnvironment::readFile(first);
    const std::string secondText = qvn::test::TestEnvironment::readFile(second);
    EXPECT_EQ(firstText.find("[EOF]"), std::string::npos);
    EXPECT_NE(firstText.find("one"), std::string::npos);
    EXPECT_EQ(secondText.substr(secondText.size() - 6), "[EOF]\n");
    EXPECT_EQ(secondText.find("one"), std::string::npos);
    // A later write starts a fresh log with an empty buffer.
    Log::instance()->write("three", 3);
    EXPECT_EQ(splitLines(Log::instance()->text()).size(), 1u);
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
