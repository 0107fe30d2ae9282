#pragma once
// The configuration window: the preference page of the instance chosen in its tree, and the
// management of that tool's configuration profiles.
#include "core/configadaptor/PageCache.h"
#include "core/windows/WindowBase.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>

namespace mvk::gui {
class Component;
}
namespace mvk::gui::componentinterface {
class ComboBox;
class Tree;
} // namespace mvk::gui::componentinterface

namespace mvk::qvn::core {

class Instance;
class InstanceReference;
class XMLFileManager;
namespace configadaptor {
class Node;
}

class ConfigWindow : public WindowBase {
public:
    class ConfigTreeNode;

    // Component ids of the layout.
    static constexpr int32_t DialogId = 99;
    static constexpr int32_t InstanceTree = 100;
    static constexpr int32_t ProfileCombo = 101;
    static constexpr int32_t SaveButton = 103;
    static constexpr int32_t NewButton = 104;
    static constexpr int32_t ImportButton = 105;
    static constexpr int32_t ExportButton = 106;
    static constexpr int32_t DeleteButton = 107;
    static constexpr int32_t StatusLine = 108;
    static constexpr int32_t CloseButton = 109;
    static constexpr int32_t RenameButton = 110;
    static constexpr int32_t SaveAsButton = 111;
    static constexpr int32_t ConfigOnlyButton = 112;
    static constexpr int32_t StartProfileButton = 113;
    static constexpr int32_t PageArea = 200;
    static constexpr const char* LayoutFile = "qvn_config.xml";

    ConfigWindow();
    ~ConfigWindow() override;

    // Opens the window (building it the first time) and shows `instance`'s page; null selects
    // nothing.
    void open(Instance* instance);
    // Shows the page of `instance` (null: none) and its tool's profiles.
    void selectInstance(Instance* instance);
    Instance* selectedInstance() const { return current; }
    // Shows the instance tree as it is now; a selected instance that left it is deselected.
    void refreshInstances();
    // The title as it is now; the window's root carries it as its label.
    std::string title() const;
    // Whether the selected instance's values differ from its stored profile.
    bool hasUnsavedChanges() const;

    void handleMessage(util::Message& message, bool broadcast) override;

private:
    void wireComponents();
    void fillTree();
    void onComponentEvent(gui::Component& sender, int32_t code);
    void onClicked(int32_t id);
    void onProfileChosen();
    void onInstanceGone(const util::MessageNode* dying);

    void showPage();
    // Sets the shown page aside for a later return to its instance.
    void setPageAside();
    // Destroys the shown page.
    void removePage();
    static void tidyPage(gui::Component* built);
    void listenToElements(configadaptor::Node* element);
    void fillProfiles();
    void refreshTitle();
    void setStatus(const std::string& text);
    void markStored();
    // Takes the selected instance's mark away when its values equal its stored profile.
    void settleMark();
    Instance* ownerOf(const util::MessageNode* origin) const;

    // Profile commands.
    void save();
    void saveAsNew(bool fromFactorySettings);
    void importProfile();
    void exportProfile();
    void deleteProfile();
    void renameProfile();
    void storeStartProfile();
    // Writes the current values under `name`, loads them back and marks them stored; false
    // after telling the user why not.
    bool saveUnder(const std::string& name);
    // Asks for a profile name until it is accepted or the user gives none.
    std::optional<std::string> askName(const std::string& caption, std::string prompt,
                                       std::string proposal);
    bool loadProfile(const std::string& name);

    std::string comboText() const;
    XMLFileManager* store() const;
    bool isOwnFile(const std::string& name) const;

    Instance* current = nullptr;
    gui::Component* page = nullptr;
    // The page shown before the present one, kept built.
    configadaptor::PageCache recentPages{1};
    gui::componentinterface::Tree* tree = nullptr;
    gui::componentinterface::ComboBox* combo = nullptr;
    gui::Component* pageArea = nullptr;
    ConfigTreeNode* treeRoot = nullptr;
    // Instances whose values changed since they were last loaded or stored.
    std::set<const Instance*> unsaved;
    bool filling = false;
    // Whether the selected instance's configuration is kept in profiles.
    bool withProfiles = false;
};

} // namespace mvk::qvn::core
