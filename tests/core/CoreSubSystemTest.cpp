#include "core/CoreSubSystem.h"
#include "support/ScriptedInteraction.h"

#include <gtest/gtest.h>

using mvk::qvn::core::CoreImplementation;
using mvk::qvn::core::CoreSubSystem;

namespace {

// A stand-in core pointer: subsystems only store and compare it.
CoreImplementation* fakeCore() {
    static char storage;
    return reinterpret_cast<CoreImplementation*>(&storage);
}

class Probe : public CoreSubSystem {
public:
    explicit Probe(CoreImplementation* core, CoreImplementation** seen = nullptr)
        : CoreSubSystem(core) {
        if (seen != nullptr)
            *seen = getCore();
    }
    void initSubSystem() override { ++initialised; }
    int initialised = 0;
};

TEST(CoreSubSystemTest, GetCoreBeforeInitialisationShowsTheErrorOncePerCall) {
    qvn::test::ScriptedInteraction script;
    CoreImplementation* seen = fakeCore();
    Probe probe(fakeCore(), &seen);
    EXPECT_EQ(seen, nullptr);
    EXPECT_EQ(probe.getCore(), nullptr);
    ASSERT_EQ(script.count("messageBox"), 2);
    EXPECT_EQ(script.questions()[0].text,
              "ERROR: Using CORE pointer before being correctly initialized!");
    EXPECT_EQ(script.questions()[0].caption, "");
    EXPECT_EQ(script.questions()[0].flags, 1u);
}

} // namespace
