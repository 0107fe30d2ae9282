// The core as a host sees it: the staged libquorvane-core.so, loaded with the loader.
#include "CoreModule.h"
#include "RefHost.h"
#include "RefNode.h"
#include "sdk/CInterface.h"
#include "sdk/CProperty.h"
#include "support/LogLines.h"
#include "support/TestEnvironment.h"
#include "util/xml/Element.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using qvn::test::messageOf;
using qvn::test::splitLines;

class CoreLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        userData = environment.userDataPath();
        ASSERT_TRUE(module.load(qvn::test::TestEnvironment::stageRoot() +
                                "/quorvane/lib/libquorvane-core.so"))
            << module.error();
    }
    std::string log() const {
        return qvn::test::TestEnvironment::readFile(userData + "/data/core/core.log");
    }
    // Index of the first line at or after `from` whose message (without tabs) is `text`.
    static size_t find(const std::vector<std::string>& text, const std::string& message,
                       size_t from = 0) {
        for (size_t i = from; i < text.size(); ++i) {
            std::string body = messageOf(text[i]);
            body.erase(0, body.find_first_not_of('\t'));
            if (body == message)
                return i;
        }
        return std::string::npos;
    }

    qvn::test::TestEnvironment environment{qvn::test::TestEnvironment::stageRoot()};
    std::string userData;
    qvn::host::CoreModule module;
    qvn::host::RefHost host;
};

TEST_F(CoreLibraryTest, MismatchingAdaptorGetsNullAndAnErrorSection) {
    EXPECT_EQ(module.getVersion(), 9201u);
    host.version = 9200;
    EXPECT_EQ(module.attach(&host), nullptr);
    EXPECT_EQ(module.detach(nullptr), 0);
    const auto text = splitLines(log());
    const size_t header = find(text, "version mismatch trying to attach to CORE");
    ASSERT_NE(header, std::string::npos) << log();
    EXPECT_NE(text[header].find("(ERROR): \t"), std::string::npos);
    ASSERT_LT(header + 2, text.size());
    EXPECT_EQ(messageOf(text[header + 1]), "\tCORE version: 9201");
    EXPECT_EQ(messageOf(text[header + 2]), "\tAdaptor version: 9200");
    // Nothing past the check was started.
    EXPECT_EQ(find(text, "Initializing unidevice"), std::string::npos);
    EXPECT_EQ(find(text, "Initializing CORE") < header, true);
}

TEST_F(CoreLibraryTest, AttachLogsTheStartUpSectionsInOrderAndDetachTellsTheAdaptor) {
    mvk::qvn::CoreInterface* core = module.attach(&host);
    ASSERT_NE(core, nullptr);
    EXPECT_EQ(module.detach(core), 0);
    ASSERT_FALSE(host.notices.empty());
    EXPECT_EQ(host.notices.back(), "coreDetach");
    const auto text = splitLines(log());
    EXPECT_EQ(text.back(), "[EOF]");
    const std::vector<std::string> expected = {
        "Initializing CORE",
        "Loading plugins",
        "QVT init done",
        "Initializing unidevice",
        "Starting hooks",
        "Constructing Adaptor manager Core subsystem",
        "Constructing Record manager Core subsystem",
        "Constructing Instance manager Core subsystem",
        "Constructing main Dialog Core subsystem",
        "Constructing CORE main system",
        "initsubsystem: InstanceManager",
        "Checking for updates",
        "Unlinking adaptor from CORE and deleting CORE interface",
        "Shutting down CORE",
        "Deinitializing CORE main system",
        "DeInitializing main Dialog Core subsystem",
        "DeInitializing Instance manager Core subsystem",
        "DeInitializing Record manager Core subsystem",
        "DeInitializing Adaptor manager Core subsystem",
    };
    size_t at = 0;
    for (const std::string& message : expected) {
        const size_t found = find(text, message, at);
        ASSERT_NE(found, std::string::npos) << "missing or out of order: " << message << "\n"
                                            << log();
        at = found + 1;
    }
    // Sections nest: the subsystems are built inside "Initializing unidevice".
    const size_t unidevice = find(text, "Initializing unidevice");
    const size_t adaptor = find(text, "Constructing Adaptor manager Core subsystem");
    EXPECT_EQ(messageOf(text[unidevice]), "\tInitializing unidevice");
    EXPECT_EQ(messageOf(text[adaptor]), "\t\tConstructing Adaptor manager Core subsystem");
}

// The staged sample tool, driven through the loaded library as a host would. A host that
// attaches a second time gets the same core: what it made before is still there.
TEST_F(CoreLibraryTest, InstancesOfTheSampleCameraLiveThroughTheLoadedLibraryAndASecondAttach) {
    mvk::qvn::CoreInterface* core = module.attach(&host);
    ASSERT_NE(core, nullptr);
    EXPECT_EQ(core->createInstance("Orbit Camera"), "Orbit Camera_01");
    qvn::host::RefNode* camera = host.scene.find("Orbit Camera_01_camera");
    ASSERT_NE(camera, nullptr);
    EXPECT_TRUE(camera->hasLens());
    ASSERT_NE(camera->owner(), nullptr);
    const mvk::qvn::CProperty* dolly = camera->owner()->getProperty("Dolly");
    ASSERT_NE(dolly, nullptr);
    EXPECT_EQ(dolly->getName(), "Dolly");
    EXPECT_DOUBLE_EQ(dolly->value(), 0.0);

    EXPECT_EQ(module.attach(&host), core);
    EXPECT_NE(core->findInstance("Orbit Camera_01"), nullptr);
    EXPECT_EQ(core->cloneInstance("Orbit Camera_01"), "Orbit Camera_02");
    core->saveScene(host);
    EXPECT_NE(host.sceneText.find("<type>Orbit Camera</type><name>Orbit Camera_01</name>"),
              std::string::npos)
        << host.sceneText;
    EXPECT_NE(host.sceneText.find("<name>Orbit Camera_02</name>"), std::string::npos);
    EXPECT_EQ(host.sceneText.find("root_02"), std::string::npos);
    core->deleteInstance("Orbit Camera_01");
    EXPECT_EQ(core->findInstance("Orbit Camera_01"), nullptr);
    EXPECT_EQ(host.scene.find("Orbit Camera_01_camera"), nullptr);
    EXPECT_EQ(module.detach(core), 0);

    const auto text = splitLines(log());
    size_t constructions = 0;
    for (size_t at = find(text, "Constructing CORE main system"); at != std::string::npos;
         at = find(text, "Constructing CORE main system", at + 1))
        ++constructions;
    EXPECT_EQ(constructions, 1u) << log();
    EXPECT_EQ(text.back(), "[EOF]");
    EXPECT_EQ(std::count(host.notices.begin(), host.notices.end(), "coreDetach"), 1);
}

// Ends the test program when a host call blocks for good (a dialog waiting for a person), so a
// hang fails at once instead of at the suite's time-out.
class Watchdog {
public:
    explicit Watchdog(int seconds)
        : thread([this, seconds] {
              std::unique_lock lock(mutex);
              if (done.wait_for(lock, std::chrono::seconds(seconds), [this] { return finished; }))
                  return;
              std::fprintf(stderr, "the host was blocked for %d s\n", seconds);
              std::_Exit(1);
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex);
            finished = true;
        }
        done.notify_one();
        thread.join();
    }

private:
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::thread thread;
};

// No responder and no display: the box about missing nodes must answer by itself and leave its
// text in the log as a warning.
TEST_F(CoreLibraryTest, AHeadlessHostIsNeverHeldByAMessageBox) {
    mvk::qvn::CoreInterface* core = module.attach(&host);
    ASSERT_NE(core, nullptr);
    ASSERT_EQ(core->createInstance("Orbit Camera"), "Orbit Camera_01");
    core->saveScene(host);
    mvk::util::xml::Element scene(host.sceneText);
    mvk::util::xml::Element& stored = scene.child("QVT_Plugin");
    ASSERT_FALSE(stored.isEmpty()) << host.sceneText;
    stored.child("nodeinfo").addChild(mvk::util::xml::Tag("node")).attribute("name") = "lamp";
    {
        Watchdog watchdog(30);
        EXPECT_NE(core->loadInstances(scene), nullptr);
    }
    EXPECT_EQ(module.detach(core), 0);

    const auto text = splitLines(log());
    const auto box = std::find_if(text.begin(), text.end(), [](const std::string& line) {
        return line.find("Some nodes required for this plugin was not found") != std::string::npos;
    });
    ASSERT_NE(box, text.end()) << log();
    EXPECT_NE(box->find("(WARNING)"), std::string::npos) << *box;
    EXPECT_NE(log().find("_lamp\n"), std::string::npos);
}

} // namespace
