#include "core/libraries/CoreLibrary.h"
#include "core/libraries/Library.h"
#include "core/libraries/LibraryManager.h"
#include "core/libraries/Plugin.h"
#include "core/libraries/Template.h"
#include "support/ModuleCuts.h"
#include "support/TestEnvironment.h"
#include "util/DataChunk.h"
#include "util/Log.h"
#include "util/SingletonCollector.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace mvk::qvn::core;
namespace fs = std::filesystem;

namespace {

class LibraryManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        pluginFolder = environment.installRoot() + "/quorvane/plugins/linux/x64";
        fs::create_directories(pluginFolder);
    }
    void TearDown() override {
        if (auto* collector = mvk::util::SingletonCollector::existing())
            collector->destroyAll();
    }
    std::string install(const std::string& module) const {
        const std::string target = pluginFolder + "/" + module;
        fs::copy_file(std::string(QVN_TOOL_FIXTURE_DIR) + "/" + module, target,
                      fs::copy_options::overwrite_existing);
        return target;
    }
    static std::string log() { return mvk::util::Log::instance()->text(); }
    static size_t count(const std::string& text, const std::string& what) {
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    }
    LibraryManager* manager() const { return LibraryManager::instance(); }

    qvn::test::TestEnvironment environment;
    std::string pluginFolder;
};

TEST_F(LibraryManagerTest, InternalLibraryHoldsTheBuiltInToolsInOrderAndLibrariesLeaveWhenDestroyed) {
    manager()->startUp();
    Library* core = manager()->library(0);
    ASSERT_EQ(core, CoreLibrary::existing());
    EXPECT_EQ(core->getName(), "Core");
    ASSERT_EQ(core->toolCount(), 5);
    const char* names[] = {"template", "PRM", "PRS", "PRC", "Group"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(core->tool(i)->name(), names[i]);
    auto* group = static_cast<Plugin*>(core->tool(4));
    EXPECT_EQ(group->identifiers(),
              (std::vector<std::string>{"Group", "Empty Plugin", "Empty plugin"}));
    EXPECT_FALSE(group->isCreatable());
    EXPECT_EQ(manager()->findTool("Empty plugin"), group);
    EXPECT_EQ(core->tool(0)->dataFolder(), environment.userDataPath() + "/data/core/template");
    EXPECT_NE(log().find("Creating internal library"), std::string::npos);

    // Libraries leave the manager as they go.
    manager()->loadLibrary(install("good.so"));
    manager()->library(1)->destroy();
    EXPECT_EQ(manager()->libraryCount(), 1);
    const std::string text = log();
    EXPECT_NE(text.find("Destroying library: good"), std::string::npos);
    CoreLibrary::existing()->destroy();
    EXPECT_EQ(manager()->libraryCount(), 0);
    EXPECT_NE(log().find("Destroying internal library"), std::string::npos);
}

TEST_F(LibraryManagerTest, AFolderOfGoodAndBadModulesLoadsTheGoodOnesAndGoesOn) {
    for (const char* module : {"good.so", "version251.so", "noversion.so", "noplugin.so",
                               "nullplugin.so", "notamodule.so", "twin.so"})
        install(module);
    EXPECT_EQ(manager()->loadAllLibraries(), 0);
    // Listing order is byte-wise: good, noplugin, notamodule, noversion, nullplugin, twin,
    // version251.
    ASSERT_EQ(manager()->libraryCount(), 3);
    EXPECT_EQ(manager()->library(0)->getName(), "good");
    EXPECT_EQ(manager()->library(1)->getName(), "nullplugin");
    EXPECT_EQ(manager()->library(2)->getName(), "twin");
    EXPECT_EQ(manager()->library(0)->toolCount(), 2);
    EXPECT_EQ(manager()->library(1)->toolCount(), 0);
    const std::string text = log();
    EXPECT_NE(text.find("Library creation failed: 33"), std::string::npos); // noplugin
    EXPECT_NE(text.find("Library creation failed: 32"), std::string::npos); // version251
    EXPECT_NE(text.find("Could not load library on path: " + pluginFolder + "/notamodule.so"),
              std::string::npos);
    EXPECT_NE(text.find("plugin path: " + pluginFolder), std::string::npos);
}

// A module cut short would be mapped past the end of its file and kill the host with SIGBUS.
TEST_F(LibraryManagerTest, DamagedModulesFailToLoadAndLoadingGoesOn) {
    const std::string original = std::string(QVN_TOOL_FIXTURE_DIR) + "/good.so";
    const std::vector<uint64_t> cuts = qvn::test::damagingCuts(original);
    ASSERT_EQ(cuts.size(), 8u);
    std::vector<std::string> damaged;
    for (size_t i = 0; i < cuts.size(); ++i) {
        damaged.push_back(pluginFolder + "/cut" + std::to_string(i) + ".so");
        qvn::test::writeCut(original, damaged.back(), cuts[i]);
    }
    damaged.push_back(pluginFolder + "/foreign.so");
    qvn::test::writeForeignCopy(original, damaged.back());
    install("twin.so");

    EXPECT_EQ(manager()->loadAllLibraries(), 0);
    ASSERT_EQ(manager()->libraryCount(), 1);
    EXPECT_EQ(manager()->library(0)->getName(), "twin");
    const std::string text = log();
    EXPECT_EQ(count(text, "Library creation failed: 30"), damaged.size());
    for (const std::string& path : damaged) {
        EXPECT_NE(text.find("Could not load library on path: " + path + "\n"), std::string::npos)
            << path;
        EXPECT_EQ(manager()->loadLibrary(path), 30) << path;
    }
}

TEST_F(LibraryManagerTest, LoadOneAnswersPerOutcomeAndEarlierLibrariesWinAnIdentifier) {
    const std::string good = install("good.so");
    EXPECT_EQ(manager()->loadLibrary(good), 0);
    EXPECT_EQ(manager()->loadLibrary(good), 35);
    EXPECT_EQ(manager()->libraryCount(), 1);
    EXPECT_NE(log().find("Library already exists. skipping load"), std::string::npos);
    EXPECT_EQ(manager()->loadLibrary(install("version251.so")), 30);
    int32_t code = -1;
    EXPECT_EQ(manager()->createLibrary(install("noversion.so"), code), nullptr);
    EXPECT_EQ(code, 31);
    EXPECT_EQ(manager()->createLibrary(install("noplugin.so"), code), nullptr);
    EXPECT_EQ(code, 33);

    // The earlier library and the earlier tool win an identifier: "FixtureCam" is the first
    // tool's name and an alias of the second.
    manager()->loadLibrary(install("twin.so"));
    Library* first = manager()->library(0);
    EXPECT_EQ(manager()->findTool("FixtureCam"), first->tool(0));
    EXPECT_EQ(manager()->findTool("Camera Alias"), first->tool(0));
    EXPECT_EQ(manager()->findTool("TwinCar"), manager()->library(1)->tool(1));
    EXPECT_EQ(manager()->findTool("fixturecam"), nullptr);
}

TEST_F(LibraryManagerTest, ModelFilesAreFoundRecursivelyFilesBeforeSubFolders) {
    manager()->startUp();
    const std::string tag =
        "<QVT><QVT_Plugin version=\"2.5\"><type>Group</type><name>Rig</name>"
        "<customdata><category>Vehicle</category><category>Camera</category></customdata>"
        "</QVT_Plugin></QVT>";
    const std::string prm = environment.installRoot() + "/quorvane/prm";
    environment.writeFile(prm + "/b/deep.prm", tag);
    environment.writeFile(prm + "/z.prm", tag);
    // A compressed model: a data chunk of the text, as the exporter writes it.
    mvk::util::DataChunk chunk(tag.data(), tag.size());
    const mvk::util::DataChunk encoded = chunk.encode();
    environment.writeFile(prm + "/a/packed.prm",
                          std::string(reinterpret_cast<const char*>(encoded.data()),
                                      encoded.size()));
    environment.writeFile(prm + "/a/wrongroot.prm", "<other/>");
    environment.writeFile(prm + "/a/unknown.prm",
                          "<QVT_Plugin><type>NoSuchTool</type></QVT_Plugin>");
    manager()->loadAllLibraries();
    std::vector<std::string> names;
    for (int i = 1; i < manager()->libraryCount(); ++i)
        names.push_back(manager()->library(i)->getName());
    EXPECT_EQ(names, (std::vector<std::string>{"z", "packed", "unknown", "deep"}));
    auto* rig = dynamic_cast<Template*>(manager()->library(1)->tool(0));
    ASSERT_NE(rig, nullptr);
    EXPECT_EQ(rig->name(), "Rig");
    EXPECT_EQ(rig->categories(), (std::vector<std::string>{"Vehicle", "Camera"}));
    EXPECT_EQ(rig->dataFolder(), prm + "/data");
    EXPECT_EQ(rig->helpDocument(), prm + "/doc/index.html");
    EXPECT_EQ(manager()->library(2)->toolCount(), 1); // the compressed one
    EXPECT_EQ(manager()->library(3)->toolCount(), 0); // type names no tool
}

} // namespace
