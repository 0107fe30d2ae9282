#include "core/libraries/Library.h"
#include "core/libraries/Plugin.h"
#include "core/libraries/Template.h"
#include "core/libraries/Tool.h"
#include "core/plugins/Group.h"
#include "support/TestEnvironment.h"
#include "util/SingletonCollector.h"
#include "util/xml/Element.h"

#include <gtest/gtest.h>

using namespace mvk::qvn::core;

namespace {

TEST(ToolTest, CategoriesStopAtTheFirstEmptyPieceAndLibraryNamesAtTheFirstDot) {
    using Names = std::vector<std::string>;
    EXPECT_EQ(Tool::splitCategories("Camera;;Vehicle"), Names{"Camera"});
    EXPECT_EQ(Tool::splitCategories("Camera;Vehicle;"), (Names{"Camera", "Vehicle"}));
    EXPECT_EQ(Library::nameOf("/a/b/camera.tools.so"), "camera");
    EXPECT_EQ(Library::nameOf("/dir.with.dots/file"), "file");
}

TEST(ToolTest, PluginFoldersHelpDocumentAndToolTag) {
    qvn::test::TestEnvironment environment;
    {
        auto* library = new Library("Core");
        auto* group = new Plugin(library, plugins::Group::get());
        EXPECT_EQ(group->dataFolder(), environment.userDataPath() + "/data/core/emptyplugin");
        EXPECT_EQ(group->installedDataFolder(),
                  environment.installRoot() + "/quorvane/data/core/emptyplugin");
        EXPECT_EQ(group->helpDocument(),
                  environment.installRoot() + "/quorvane/doc/core_emptyplugin.html");
        mvk::util::xml::Element tag;
        group->makeToolTag(tag, "root");
        EXPECT_EQ(tag.toString("", "", ""),
                  "<QVT_Plugin version=\"2.5\"><type>Group</type><name>root</name></QVT_Plugin>");
        group->makeToolTag(tag, "");
        EXPECT_EQ(tag.childCount("name"), 0);
        library->destroy();
    }
    if (auto* collector = mvk::util::SingletonCollector::existing())
        collector->destroyAll();
}

} // namespace
