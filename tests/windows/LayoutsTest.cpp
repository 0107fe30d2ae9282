#include "WindowTestSupport.h"
#include "util/xml/Element.h"

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

using mvk::gui::Component;

namespace {

// The ids each window looks up, by the kind it expects there.
using Ids = std::vector<std::pair<std::string, std::vector<int32_t>>>;
const std::map<std::string, Ids> Required = {
    {"qvn_main.xml",
     {{"button", {101, 102, 103, 104, 106, 107, 108, 109, 110, 111, 116, 117}},
      {"checkbox", {113, 114}},
      {"spinner", {115}},
      {"tree", {119}},
      {"menubar", {135}}}},
    {"qvn_about.xml", {{"button", {300, 304}}}},
    {"qvn_countdown.xml", {{"label", {101}}}},
    {"qvn_config.xml",
     {{"button", {103, 104, 105, 106, 107, 109, 110, 111, 112, 113}},
      {"tree", {100}},
      {"combobox", {101}},
      {"label", {108}},
      {"list", {200}}}},
    {"qvn_mainconfig.xml",
     {{"spinner", {100}}, {"checkbox", {102, 103}}, {"combobox", {106}}, {"button", {110}}}},
    {"qvn_resimulate.xml",
     {{"button", {99}}, {"progressbar", {100}}, {"label", {101, 102, 103, 104}}}},
    {"qvn_inputs.xml",
     {{"list", {200}},
      {"listbox", {300}},
      {"combobox", {400}},
      {"button", {110, 401, 402, 403, 404, 405, 406, 407, 408}},
      {"label", {409}}}},
    // The input list and the one row every input is drawn with.
    {"qvn_inputs_propertymanager.xml", {{"list", {202}}, {"label", {1, 2, 3}}, {"button", {4, 5}}}},
    {"qvn_inputs_detect.xml", {{"label", {101, 102}}, {"button", {103, 104, 105}}}},
};
// Layouts that are parts inside a window rather than windows of their own.
const std::set<std::string> Pages = {"qvn_mainconfig.xml", "qvn_inputs_propertymanager.xml"};

using LayoutsTest = qvn::test::AttachedCore;

TEST_F(LayoutsTest, EveryShippedLayoutBuildsWithTheIdsItsWindowNeeds) {
    attach();
    std::set<std::string> shipped;
    for (const auto& entry : std::filesystem::directory_iterator(dataFolder() + "/core/layout"))
        if (entry.path().extension() == ".xml")
            shipped.insert(entry.path().filename().string());
    for (const auto& [name, ids] : Required)
        EXPECT_EQ(shipped.count(name), 1u) << name << " is not shipped";
    for (const std::string& name : shipped) {
        mvk::util::xml::Element layout;
        ASSERT_EQ(layout.load(layoutFile(name)), mvk::util::xml::Element::Parsed) << name;
        Component* root = core->createComponent(layout);
        ASSERT_NE(root, nullptr) << name;
        EXPECT_EQ(root->getKindName() == "dialog", Pages.count(name) == 0) << name;
        const auto required = Required.find(name);
        for (const auto& [kind, ids] : required != Required.end() ? required->second : Ids{})
            for (int32_t id : ids) {
                Component* component = root->findById(id);
                ASSERT_NE(component, nullptr) << name << " lacks " << id;
                EXPECT_EQ(component->getKindName(), kind) << name << " " << id;
            }
        root->destroy();
    }
}

// Every image a shipped layout names is rendered into the data folder by the build.
TEST_F(LayoutsTest, EveryImageALayoutNamesExists) {
#ifndef QVN_ARTWORK_RENDERED
    GTEST_SKIP() << "this build has no SVG renderer";
#endif
    const std::regex image(R"(\[images\]/([A-Za-z0-9_/]+\.png))");
    for (const auto& entry : std::filesystem::directory_iterator(dataFolder() + "/core/layout")) {
        if (entry.path().extension() != ".xml")
            continue;
        const std::string text = qvn::test::TestEnvironment::readFile(entry.path().string());
        for (auto it = std::sregex_iterator(text.begin(), text.end(), image);
             it != std::sregex_iterator(); ++it)
            EXPECT_TRUE(std::filesystem::exists(dataFolder() + "/core/images/" + (*it)[1].str()))
                << entry.path().filename() << " names " << (*it)[1].str();
    }
    for (const char* prefix : {"veh", "cam", "acc", "prm"})
        for (const char* state : {"", "_pressed", "_hover"})
            EXPECT_TRUE(
                std::filesystem::exists(dataFolder() + "/core/images/" + prefix + state + ".png"))
                << prefix << state;
    EXPECT_TRUE(std::filesystem::exists(dataFolder() + "/core/images/morvik_ico_16.png"));
    EXPECT_TRUE(std::filesystem::exists(dataFolder() + "/core/images/treeicons/group.png"));
}

} // namespace
