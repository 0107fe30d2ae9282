#include "WindowTestSupport.h"

#include "gui/componentinterface/Button.h"
#include "gui/componentinterface/CheckBox.h"
#include "gui/componentinterface/Label.h"
#include "gui/componentinterface/Menubar.h"
#include "gui/componentinterface/Progressbar.h"
#include "gui/componentinterface/Spinner.h"
#include "util/xml/Element.h"

#include <QMenu>
#include <QMenuBar>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

using mvk::gui::Component;
namespace ci = mvk::gui::componentinterface;

namespace {

// The ids each window looks up, with the kind it expects there.
const std::map<std::string, std::vector<std::pair<int32_t, std::string>>> Required = {
    {"qvn_main.xml",
     {{101, "button"},
      {102, "button"},
      {103, "button"},
      {110, "button"},
      {104, "button"},
      {106, "button"},
      {107, "button"},
      {108, "button"},
      {109, "button"},
      {111, "button"},
      {113, "checkbox"},
      {114, "checkbox"},
      {115, "spinner"},
      {116, "button"},
      {117, "button"},
      {119, "tree"},
      {135, "menubar"}}},
    {"qvn_about.xml", {{300, "button"}, {304, "button"}}},
    {"qvn_countdown.xml", {{101, "label"}}},
    {"qvn_config.xml",
     {{100, "tree"}, {101, "combobox"}, {103, "button"}, {104, "button"},
      {105, "button"}, {106, "button"}, {107, "button"}, {108, "label"}, {109, "button"},
      {110, "button"}, {111, "button"}, {112, "button"}, {113, "button"}, {200, "list"}}},
    {"qvn_mainconfig.xml",
     {{100, "spinner"}, {102, "checkbox"}, {103, "checkbox"}, {106, "combobox"},
      {110, "button"}}},
    {"qvn_resimulate.xml",
     {{99, "button"},
      {100, "progressbar"},
      {101, "label"},
      {102, "label"},
      {103, "label"},
      {104, "label"}}},
};
// Layouts that are pages inside a window rather than windows of their own.
const std::set<std::string> Pages = {"qvn_mainconfig.xml"};

class LayoutsTest : public qvn::test::AttachedCore {
protected:
    Component* build(const std::string& name) {
        mvk::util::xml::Element layout;
        if (layout.load(layoutFile(name)) != mvk::util::xml::Element::Parsed)
            return nullptr;
        return core->createComponent(layout);
    }
};

TEST_F(LayoutsTest, EveryShippedLayoutBuildsWithTheIdsItsWindowNeeds) {
    attach();
    std::set<std::string> shipped;
    for (const auto& entry : std::filesystem::directory_iterator(dataFolder() + "/core/layout"))
        if (entry.path().extension() == ".xml")
            shipped.insert(entry.path().filename().string());
    for (const auto& [name, ids] : Required)
        EXPECT_EQ(shipped.count(name), 1u) << name << " is not shipped";
    for (const std::string& name : shipped) {
        Component* root = build(name);
        ASSERT_NE(root, nullptr) << name;
        EXPECT_EQ(root->getKindName() == "dialog", Pages.count(name) == 0) << name;
        const auto required = Required.find(name);
        for (const auto& [id, kind] : required != Required.end()
                                          ? required->second
                                          : std::vector<std::pair<int32_t, std::string>>{}) {
            Component* component = root->findById(id);
            ASSERT_NE(component, nullptr) << name << " lacks " << id;
            EXPECT_EQ(component->getKindName(), kind) << name << " " << id;
        }
        root->destroy();
    }
}

TEST_F(LayoutsTest, MainWindowIsTheActivationSourceAndOffersTheFourCreateMenus) {
    attach();
    Component* root = core->getMainWindow();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->getId(), 100);
    auto* bar = qobject_cast<QMenuBar*>(root->findById(135)->getWidget());
    ASSERT_NE(bar, nullptr);
    std::set<QString> titles;
    for (QMenu* menu : bar->findChildren<QMenu*>())
        titles.insert(menu->title());
    for (const char* title :
         {"Create Vehicle tool", "Create Accessory tool", "Create Camera tool", "Create Template"})
        EXPECT_EQ(titles.count(QString::fromUtf8(title)), 1u) << title;
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
