// Reading files that hold long lists of same-named elements: a settings file of 100,000 items
// and an input profile of 100,000 properties, read and applied to a tool instance. Each entry
// must cost the same however many came before it.
#include "RefHost.h"
#include "core/CoreImplementation.h"
#include "core/MainConfigSettings.h"
#include "core/Startup.h"
#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "core/libraries/CoreLibrary.h"
#include "core/libraries/InputProfileManager.h"
#include "core/libraries/LibraryManager.h"
#include "sdk/CCameraPlugin.h"
#include "sdk/CInterface.h"
#include "support/TestEnvironment.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

using namespace mvk::qvn;

constexpr int Entries = 100000;

std::string settingsText() {
    std::string text = "<?xml version=\"1.0\"?>\n<QVNConfig>\n";
    for (int i = 0; i < Entries; ++i)
        text +=
            "\t<item id=\"" + std::to_string(1000 + i) + "\">" + std::to_string(i) + "</item>\n";
    return text + "</QVNConfig>\n";
}

// Every hundredth property names one the tool has, the others are unknown to it.
std::string profileText() {
    std::string text = "<?xml version=\"1.0\"?>\n<profile name=\"Long\">\n";
    for (int i = 0; i < Entries; ++i) {
        const std::string name = i % 100 == 0 ? "Pan" : "p" + std::to_string(i);
        text += "\t<property name=\"" + name + "\"><multiplier>" + std::to_string(i % 7) +
                "</multiplier></property>\n";
    }
    return text + "</profile>\n";
}

void ReadLongSettingsFile(benchmark::State& state) {
    qvn::test::TestEnvironment environment;
    const std::string folder = environment.root() + "/host";
    environment.writeFile(folder + "/settings.xml", settingsText());
    core::MainConfigSettings settings;
    for (auto _ : state) {
        settings.load(folder);
        benchmark::DoNotOptimize(settings.countdownSeconds());
    }
    // Points the settings at a missing folder, so their final save leaves the file alone.
    settings.load(environment.root() + "/gone");
}
BENCHMARK(ReadLongSettingsFile)->Unit(benchmark::kMillisecond);

class PanCode : public CCamera {
public:
    explicit PanCode(const CreateParam& param) : CCamera(param) {}
    int32_t initialize() override {
        getInterface()->addProperty("Pan", 4);
        getInterface()->addProperty("Tilt", 4);
        return 0;
    }
};

class PanPlugin : public CCameraPlugin {
public:
    CCamera* createCamera(const CCamera::CreateParam& param) override { return new PanCode(param); }
    std::string getName() const override { return "Pan"; }
    std::string getDataPath() const override { return "bench/pan"; }
    std::string getShortDescription() const override { return {}; }
    std::string getCategory() const override { return "Camera"; }
    std::string getLongDescription() const override { return {}; }
    std::string getAuthor() const override { return {}; }
    uint32_t getVersion() const override { return 1; }
};

void ReadAndApplyLongInputProfile(benchmark::State& state) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    qvn::test::TestEnvironment environment;
    environment.userDataPath();
    const std::string file = environment.root() + "/long.mip";
    environment.writeFile(file, profileText());
    qvn::host::RefHost host;
    auto* attached = static_cast<core::CoreImplementation*>(core::attachCore(&host));
    PanPlugin plugin;
    core::LibraryManager::instance()->addToolToLibrary(core::CoreLibrary::instance(), &plugin);
    core::InstanceReference* reference =
        attached->InstanceManager::createInstance("Pan", "", nullptr);
    if (reference == nullptr) {
        state.SkipWithError("no instance");
        core::detachCore(attached);
        return;
    }
    core::Tool::InputProfileManager store;
    for (auto _ : state) {
        const auto profiles = store.readProfiles(file);
        if (profiles.size() != 1) {
            state.SkipWithError("the profile was not read");
            break;
        }
        benchmark::DoNotOptimize(reference->getInstance()->applyInputProfile(profiles.front()));
    }
    core::detachCore(attached);
}
BENCHMARK(ReadAndApplyLongInputProfile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
