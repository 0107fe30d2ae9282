#include "core/configadaptor/MainConfig.h"
#include "ConfigTestSupport.h"
#include "core/MainConfigSettings.h"
#include "platform/Interaction.h"
#include "util/Log.h"

#include <gmock/gmock.h>

using namespace mvk::qvn::core;
using namespace mvk::qvn::core::configadaptor;
using ::testing::ElementsAre;

namespace {

class MainConfigTest : public qvn::test::ConfigTest {
protected:
    void TearDown() override {
        mvk::platform::setSilent(false);
        mvk::util::Log::setLevel(threshold);
        ConfigTest::TearDown();
    }

    bool send(int32_t code, int32_t senderId, const std::string& label) {
        WidgetChange change;
        change.code = code;
        change.senderId = senderId;
        change.senderLabel = label;
        change.value = value;
        change.checked = checked;
        change.text = text;
        return element.applyWidgetChange(change);
    }

    int threshold = mvk::util::Log::threshold();
    MainConfigSettings settings;
    element::MainConfig element{&settings};
    double value = 0.0;
    bool checked = false;
    std::string text;
};

TEST_F(MainConfigTest, EachControlOfThePageChangesItsSettingInsideAHostOperation) {
    value = 7.9;
    EXPECT_TRUE(send(Node::ValueCommitted, 100, "Countdown"));
    EXPECT_EQ(settings.countdownSeconds(), 7) << "truncated, not rounded";
    value = 1e300;
    EXPECT_TRUE(send(Node::ValueChanged, 100, "Countdown"));
    EXPECT_EQ(settings.countdownSeconds(), 2147483647);

    checked = true;
    EXPECT_TRUE(send(Node::StateChanged, 102, "Silent"));
    EXPECT_TRUE(settings.silent());
    EXPECT_TRUE(mvk::platform::isSilent());
    checked = false;
    EXPECT_TRUE(send(Node::StateChanged, 103, "On top"));
    EXPECT_FALSE(settings.stayOnTop());

    text = "Low";
    EXPECT_TRUE(send(Node::IndexChanged, 106, "Log level"));
    EXPECT_EQ(settings.logLevelName(), "Low");
    EXPECT_EQ(mvk::util::Log::threshold(), 1);

    EXPECT_THAT(holds(), ElementsAre("begin:Countdown", "accept:Countdown", "begin:Countdown",
                                     "accept:Countdown", "begin:Silent", "accept:Silent",
                                     "begin:On top", "accept:On top", "begin:Log level",
                                     "accept:Log level"));
}

} // namespace
