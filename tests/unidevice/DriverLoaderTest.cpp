#include "FakeInput.h"
#include "platform/DynamicLibrary.h"
#include "support/LogLines.h"
#include "support/ModuleCuts.h"
#include "support/TestEnvironment.h"
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

class DriverLoaderTest : public DriverTest {
protected:
    DriverContext context() const {
        DriverContext made;
        made.module = reinterpret_cast<void*>(0xC0DE);
        made.hostWindow = 0x7654321;
        return made;
    }
};

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
                                     "\tlibrary file: " + folder + "/good_driver.so",
                                     "\tloaded with drivers: fixturedriver"});

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
