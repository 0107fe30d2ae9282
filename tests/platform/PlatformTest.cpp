#include "platform/Interaction.h"
#include "support/ScriptedInteraction.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace mvk::platform;

namespace {

TEST(InteractionTest, EarlyErrorsReachTheResponderUnlessSilent) {
    qvn::test::ScriptedInteraction script;
    showEarlyError("first");
    setSilent(true);
    showEarlyError("second");
    setSilent(false);
    ASSERT_EQ(script.questions().size(), 1u);
    EXPECT_EQ(script.questions()[0].text, "first");
    EXPECT_EQ(script.questions()[0].caption, "");
    EXPECT_EQ(script.questions()[0].flags, MessageBoxFlag::Ok);
}

std::vector<std::string> reported;

void recordReport(const std::string& question, const std::string& text) {
    reported.push_back(question + ": " + text);
}

// Without a display (the tests run offscreen) nobody could answer, so nothing may wait: boxes
// take their silent answer, dialogs are cancelled, and every question is reported.
TEST(InteractionTest, WithoutADisplayQuestionsAnswerAtOnceAsInSilentMode) {
    static int argc = 0;
    std::unique_ptr<QApplication> application;
    if (QApplication::instance() == nullptr)
        application = std::make_unique<QApplication>(argc, nullptr);
    ASSERT_TRUE(isHeadless());
    reported.clear();
    setUnattendedReport(&recordReport);
    InteractionResponder& dialogs = interaction();
    using namespace MessageBoxFlag;
    EXPECT_EQ(dialogs.messageBox(nullptr, "Overwrite?", "", Yes | No | IconQuestion), int(Yes));
    EXPECT_EQ(dialogs.messageBox(nullptr, "Retry?", "", Retry | Cancel), int(No));
    std::string chosen = "unchanged";
    EXPECT_FALSE(dialogs.saveFileName(nullptr, "Save log", "/tmp", "*.log", chosen));
    EXPECT_EQ(chosen, "unchanged");
    setUnattendedReport(nullptr);
    ASSERT_EQ(reported.size(), 3u);
    EXPECT_NE(reported[0].find("Overwrite?"), std::string::npos);
    EXPECT_NE(reported[2].find("Save log"), std::string::npos);

    // A responder, once installed, is asked instead.
    qvn::test::ScriptedInteraction script;
    script.pushButton(No);
    EXPECT_EQ(interaction().messageBox(nullptr, "Overwrite?", "", Yes | No), int(No));
    EXPECT_EQ(script.count("messageBox"), 1);
}

} // namespace
