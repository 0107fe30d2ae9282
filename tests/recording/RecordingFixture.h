#pragma once
// A core attached in this process to the reference host, with an instance of an in-process
// tool ticked for recording, a wall clock the test moves by hand and a countdown that records
// what it was asked to show.
#include "RefHost.h"
#include "TakeWatcher.h"
#include "core/CoreImplementation.h"
#include "core/Startup.h"
#include "core/libraries/CoreLibrary.h"
#include "core/libraries/LibraryManager.h"
#include "core/recording/TimerManager.h"
#include "instances/InstanceFixture.h"
#include "platform/TickCount.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace qvn::test {

class FakeCountDown : public mvk::qvn::core::CountDown {
public:
    explicit FakeCountDown(std::vector<std::string>& shown) : shown(shown) {}
    void start(int32_t seconds) override { shown.push_back("start " + std::to_string(seconds)); }
    void update(const std::string& text) override {
        if (shown.empty() || shown.back() != text)
            shown.push_back(text);
    }
    void hide() override {
        if (shown.empty() || shown.back() != "hide")
            shown.push_back("hide");
    }

private:
    std::vector<std::string>& shown;
};

class RecordingFixture : public ::testing::Test {
protected:
    void SetUp() override {
        environment.userDataPath();
        mvk::platform::setTickSource([this] { return now; });
        core = static_cast<CoreImplementation*>(attachCore(&host));
        ASSERT_NE(core, nullptr);
        LibraryManager::instance()->addToolToLibrary(CoreLibrary::instance(), &rigPlugin);
        const std::string name = core->createInstance("Rig");
        ASSERT_FALSE(name.empty());
        rig = core->findInstance(name)->getInstance();
        core->setCountDown(std::make_unique<FakeCountDown>(countdown));
        watcher.watch(*core);
        host.time = 10.0;
        host.rangeEnd = 100.0;
        host.sampleInterval = 0.1;
        setCountdown(3);
    }
    void TearDown() override {
        if (core != nullptr)
            detachCore(core);
        mvk::platform::setTickSource({});
    }
    void setCountdown(int32_t seconds) { core->getSettings().setCountdownSeconds(seconds); }
    // Moves the wall clock on and delivers the record timer's tick.
    void tick(uint32_t milliseconds) {
        now += milliseconds;
        core->onTimer(RecordManager::RecordTimerId, now);
    }
    // Ticks every `step` ms while the take runs and its clock is below `recordTime`.
    void runUntil(double recordTime, uint32_t step = 100) {
        while (core->isRecording() && core->getRecordTime() < recordTime)
            tick(step);
    }
    const mvk::qvn::TakeReport& take() const { return core->getTakeReport(); }
    // The rig's recorded curve of its first input ("Pan").
    const mvk::util::AVar_Linear<double>& panCurve() const {
        return rig->getRecordedValues().at(0);
    }
    // The host's hold events of one kind of operation ("Record", "Resimulating").
    std::vector<std::string> holds(const std::string& operation) const {
        std::vector<std::string> events;
        for (const std::string& event : host.undoStack.history())
            if (event.find(":" + operation) != std::string::npos)
                events.push_back(event);
        return events;
    }
    // Detaches the core while `operation` runs: the operation is accepted and the host told it
    // is done before the core goes, and no timer is left running.
    void detachDuring(const std::string& operation) {
        const auto dones = [this](auto end) {
            return std::count(host.notices.begin(), end, "recordingDone");
        };
        const auto before = dones(host.notices.end());
        detachCore(core);
        core = nullptr;
        EXPECT_EQ(host.undoStack.history().back(), "accept:" + operation);
        const auto detached = std::find(host.notices.begin(), host.notices.end(), "coreDetach");
        ASSERT_NE(detached, host.notices.end());
        EXPECT_EQ(dones(detached), before + 1) << "the " << operation << " ended after the core";
        EXPECT_EQ(mvk::qvn::core::TimerManager::service().runningCount(), 0);
    }

    TestEnvironment environment;
    ScriptedInteraction script;
    host::RefHost host;
    host::TakeWatcher watcher;
    CoreImplementation* core = nullptr;
    Instance* rig = nullptr;
    RigPlugin rigPlugin{"Rig"};
    std::vector<std::string> countdown;
    uint32_t now = 100000;
};

} // namespace qvn::test
