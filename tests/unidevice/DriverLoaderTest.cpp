#include "FakeInput.h"
#include "platform/DynamicLibrary.h"
#include "support/LogLines.h"
#include "support/ModuleCuts.h"
#include "support/TestEnvironment.h"
#include "unidevice/DriverLoader.h"
#include "unidevice/EmulatedTrinaryDevice.h"
#include "unidevice/InputLayer.h"
#include "unidevice/WINHOOK_KeyboardDevice.h"
#include "util/Log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace qvn::test {
namespace {

namespace fs = std::filesystem;
using mvk::util::Log;
using ::testing::ElementsAre;

const std::string fixtureFolder = QVN_FIXTURE_DRIVER_DIR;

std::string fixture(const std::string& scenario) { return fixtureFolder + "/" + scenario + "_driver.so"; }

// The log lines written since `from`, without their time stamps.
std::vector<std::string> logLinesSince(size_t from) {
    std::vector<std::string> lines = splitLines(Log::instance()->text().substr(from));
    for (std::string& line : lines)
        line = messageOf(line);
    return lines;
}

std::vector<std::string> names(bool drivers) {
    DeviceHandler* handler = DeviceHandler::instance();
    std::vector<std::string> out;
    for (int i = 0; i < (drivers ? handler->driverCount() : handler->deviceCount()); ++i)
        out.push_back(drivers ? handler->driver(i)->name() : handler->device(i)->name());
    return out;
}

class DriverLoaderTest : public InputTest {
protected:
    void TearDown() override {
        InputTest::TearDown();
        loader.freeAll();
    }
    DriverContext context() const {
        DriverContext made;
        made.module = reinterpret_cast<void*>(0xC0DE);
        made.hostWindow = 0x7654321;
        return made;
    }
    DriverLoader loader;
};

TEST_F(DriverLoaderTest, LoadsOnlyLibrariesThatPassEveryCheck) {
    TestEnvironment environment;
    EXPECT_EQ(loader.loadFolder(environment.root() + "/nowhere", context()), 0);
    EXPECT_EQ(loader.loadFolder(fixtureFolder, context()), 1);
    // The version 120 library's loadDevices would have added this driver.
    EXPECT_THAT(names(true), ElementsAre("fixturedriver"));
    EXPECT_THAT(names(false), ElementsAre("FixtureDevice"));
    EXPECT_EQ(handler()->device(0)->driver(), handler()->driver("fixturedriver"));
}

TEST_F(DriverLoaderTest, EveryFailureHasItsOwnResultAndTheLibraryReceivesHandlerAndContext) {
    TestEnvironment environment;
    const std::string broken = environment.writeFile("drivers/broken.so", "not a library");
    EXPECT_EQ(loader.loadLibrary(broken, context()), DriverLoader::NotLoadable);
    EXPECT_EQ(loader.loadLibrary(fixture("version120"), context()), DriverLoader::WrongVersion);
    EXPECT_EQ(loader.loadLibrary(fixture("noload"), context()), DriverLoader::NoLoadDevices);
    EXPECT_EQ(loader.count(), 0);
    EXPECT_EQ(handler()->driverCount(), 0);
    ASSERT_EQ(loader.loadLibrary(fixture("good"), context()), DriverLoader::Loaded);
    EXPECT_EQ(loader.count(), 1);
    // Opening it again only adds a reference to the loaded module.
    auto module = mvk::platform::loadLibrary(fixture("good"));
    ASSERT_NE(module, nullptr);
    auto received = reinterpret_cast<const DriverContext* (*)()>(
        mvk::platform::findSymbol(module, "fixtureContext"))();
    EXPECT_EQ(received->code, 1203);
    EXPECT_EQ(received->module, reinterpret_cast<void*>(0xC0DE));
    EXPECT_EQ(received->hostWindow, 0x7654321u);
    EXPECT_EQ(reinterpret_cast<int32_t (*)()>(
                  mvk::platform::findSymbol(module, "fixtureLoadCalls"))(),
              1);
    mvk::platform::freeLibrary(module);
    // The library's device is polled like any other.
    handler()->updateAll();
    EXPECT_DOUBLE_EQ(handler()->device(0)->control(0)->current(), 0.5);
}

// The system loader would map pages past the end of a cut file and die of SIGBUS on touching
// them; such files are skipped like any other file that is not a loadable module.
TEST_F(DriverLoaderTest, DamagedLibrariesAreSkippedAsNotLoadable) {
    TestEnvironment environment;
    const std::string folder = environment.root() + "/drivers";
    fs::create_directories(folder);
    const std::vector<uint64_t> cuts = qvn::test::damagingCuts(fixture("good"));
    ASSERT_EQ(cuts.size(), 8u);
    std::vector<std::string> expected;
    for (size_t i = 0; i < cuts.size(); ++i) {
        const std::string path = folder + "/cut" + std::to_string(i) + "_driver.so";
        qvn::test::writeCut(fixture("good"), path, cuts[i]);
        expected.insert(expected.end(),
                        {"\tload Unidevice dynamic library", "\tlibrary file: " + path});
    }
    qvn::test::writeForeignCopy(fixture("good"), folder + "/foreign_driver.so");
    expected.insert(expected.end(), {"\tload Unidevice dynamic library",
                                     "\tlibrary file: " + folder + "/foreign_driver.so"});
    fs::copy_file(fixture("good"), folder + "/good_driver.so");
    expected.insert(expected.end(), {"\tload Unidevice dynamic library",
                                     "\tlibrary file: " + folder + "/good_driver.so"});

    const size_t mark = Log::instance()->text().size();
    EXPECT_EQ(loader.loadFolder(folder, context()), 1);
    EXPECT_EQ(logLinesSince(mark), expected);
    EXPECT_THAT(names(true), ElementsAre("fixturedriver"));
    EXPECT_EQ(loader.loadLibrary(folder + "/cut7_driver.so", context()), DriverLoader::NotLoadable);
    EXPECT_NE(mvk::platform::lastLoadError().find("cut7_driver.so"), std::string::npos);
    EXPECT_EQ(loader.loadLibrary(folder + "/foreign_driver.so", context()),
              DriverLoader::NotLoadable);
    EXPECT_EQ(loader.count(), 1);
}

TEST_F(DriverLoaderTest, StartBuildsTheLayerInOrderAndShutDownUnloadsAfterTheObjects) {
    TestEnvironment environment;
    const std::string installPath = environment.installRoot() + "/quorvane";
    const std::string folder = driverFolder(installPath);
    EXPECT_EQ(folder, installPath + "/data/unidevice/drivers/linux/x64");
    fs::create_directories(folder);
    fs::copy_file(fixture("good"), folder + "/good_driver.so");
    fs::copy_file(fixture("version120"), folder + "/old_driver.so");

    startInputLayer(reinterpret_cast<void*>(0xC0DE), 0x42, installPath);
    EXPECT_THAT(names(true), ElementsAre("dummydriver", "windriver", "fixturedriver"));
    EXPECT_THAT(names(false), ElementsAre("Keyboard", "FixtureDevice", "TrinaryEmulator"));
    Driver* dummy = handler()->driver("dummydriver");
    ASSERT_EQ(dummy->deviceCount(), 2);
    EXPECT_EQ(dummy->device(1)->name(), "TrinaryEmulator");
    EXPECT_EQ(driverLoader().count(), 1);
    EXPECT_EQ(WINHOOK_KeyboardDevice::live()->module(), reinterpret_cast<void*>(0xC0DE));

    shutDownInputLayer();
    EXPECT_EQ(DeviceHandler::existing(), nullptr);
    EXPECT_EQ(driverLoader().count(), 0);
    EXPECT_EQ(WINHOOK_KeyboardDevice::live(), nullptr);
    shutDownInputLayer();  // a second shut-down finds nothing to do
}

} // namespace
} // namespace qvn::test
