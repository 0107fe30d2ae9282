// A host that attaches and detaches the core again and again, loading and unloading the library
// each time, as a host does when the user turns the tools off and on.
#include "CoreModule.h"
#include "RefHost.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

long residentBytes() {
    long pages = 0;
    long resident = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr)
        return -1;
    const bool read = std::fscanf(statm, "%ld %ld", &pages, &resident) == 2;
    std::fclose(statm);
    return read ? resident * sysconf(_SC_PAGESIZE) : -1;
}

bool cycle(const std::string& corePath) {
    qvn::host::CoreModule module;
    if (!module.load(corePath))
        return false;
    qvn::host::RefHost host;
    mvk::qvn::CoreInterface* core = module.attach(&host);
    if (core == nullptr)
        return false;
    return module.detach(core) == 0;
}

// Every cycle starts the staged drivers (SDL's game controller layer among them) and tool
// modules; whatever a cycle leaves behind adds up over a long session.
TEST(AttachCycleTest, ResidentMemoryStopsGrowingAfterTheFirstCycles) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's quarantine holds freed memory back on purpose";
#endif
    qvn::test::TestEnvironment environment(qvn::test::TestEnvironment::stageRoot());
    environment.userDataPath();
    const std::string corePath =
        qvn::test::TestEnvironment::stageRoot() + "/quorvane/lib/libquorvane-core.so";
    long afterWarmUp = 0;
    for (int i = 1; i <= 200; ++i) {
        ASSERT_TRUE(cycle(corePath)) << "cycle " << i;
        if (i == 20)
            afterWarmUp = residentBytes();
    }
    const long growth = residentBytes() - afterWarmUp;
    EXPECT_LE(growth, 64 * 1024) << "resident memory grew by " << growth / 180
                                 << " bytes per cycle after the 20th";
}

} // namespace
