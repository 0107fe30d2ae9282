#include "core/windows/ConfigWindow.h"

#include "core/CoreImplementation.h"
#include "core/configadaptor/Node.h"
#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "core/libraries/ConfigProfileManager.h"
#include "gui/Component.h"
#include "gui/componentinterface/ComboBox.h"
#include "gui/componentinterface/Dialog.h"
#include "gui/componentinterface/Tree.h"
#include "platform/Interaction.h"

#include <QAbstractSpinBox>
#include <QBoxLayout>
#include <QComboBox>
#include <QLineEdit>

#include <iostream>
#include <vector>

namespace mvk::qvn::core {

namespace {

namespace Flag = platform::MessageBoxFlag;
using gui::componentinterface::Tree;

constexpr const char* Caption = "Morvik Quorvane";
constexpr const char* ErrorCaption = "Morvik Quorvane - Error";
constexpr const char* ProfileFilter = "Morvik Config Profiles (*.mcp)";
constexpr const char* ForbiddenCharacters = "*.\"/\\[]:;|=,?><";

constexpr int32_t ButtonClicked = 0x4142;
constexpr int32_t IndexChanged = 0x41C0;
constexpr int32_t SelectionChanged = 0x4281;
constexpr int32_t WindowActivated = 0x4100;
constexpr int32_t WindowDeactivated = 0x4101;
constexpr int32_t ConfigurationChanged = 0x6000;

void marker(const std::string& step) {
    std::cout << "open configwindow: " << step << std::endl;
}

// The part of a path after its last slash or backslash.
std::string fileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Kept pages belong to an instance as the messages of its end name it.
const void* pageOwner(const Instance* instance) {
    return static_cast<const util::MessageNode*>(instance);
}

HostAdaptor* host() {
    CoreImplementation* core = CoreImplementation::existing();
    return core != nullptr ? core->getAdaptor() : nullptr;
}

} // namespace

// One instance of the tree; it forgets the instance when the instance goes away.
class ConfigWindow::ConfigTreeNode : public Tree::Node {
public:
    // `shownName` replaces the instance's name in the tree when it is not empty.
    explicit ConfigTreeNode(Instance* instance, std::string shownName = {})
        : instance(instance), shownName(std::move(shownName)) {
        if (instance != nullptr)
            setIcon(instance->getIconPath());
    }
    ~ConfigTreeNode() override {
        while (childCount() > 0)
            child(childCount() - 1)->destroyComposite();
    }
    std::string getName() const override {
        if (instance == nullptr)
            return "";
        return shownName.empty() ? instance->getName() : shownName;
    }

    // Calls `visit` for this node and every node below it.
    template <class Visit> void forEach(Visit visit) {
        std::vector<ConfigTreeNode*> pending{this};
        while (!pending.empty()) {
            ConfigTreeNode* node = pending.back();
            pending.pop_back();
            visit(node);
            for (int i = 0; i < node->childCount(); ++i)
                pending.push_back(static_cast<ConfigTreeNode*>(node->child(i)));
        }
    }

    Instance* instance;

private:
    std::string shownName;
};

ConfigWindow::ConfigWindow() : WindowBase("Config Window") {}

ConfigWindow::~ConfigWindow() {
    removePage();
    if (tree != nullptr)
        tree->setRoot(nullptr);
    delete treeRoot;
    // The root and its components go with the base; they must not reach this window then.
    while (sourceCount() > 0)
        unsubscribe(source(0));
}

void ConfigWindow::open(Instance* instance) {
    marker("1");
    if (getRoot() != nullptr) {
        if (isWindowShown()) {
            marker("2 - already started");
            bringToFront();
        } else {
            marker("2 - starting component");
            getRoot()->show();
        }
    } else {
        marker("3");
        marker("4");
        if (!loadLayout(LayoutFile))
            return;
        marker("5");
        // The tools' icons use the same aliases as the main window's tree.
        if (CoreImplementation* core = CoreImplementation::existing())
            core->setImageAliases(getRoot());
        wireComponents();
        marker("6");
        getRoot()->show();
        marker("7");
    }
    CoreImplementation* core = CoreImplementation::existing();
    if (auto* dialog = gui::interfaceOf<gui::componentinterface::Dialog>(getRoot()))
        if (core != nullptr)
            dialog->setTopmost(core->getSettings().stayOnTop());
    fillTree();
    selectInstance(instance);
}

void ConfigWindow::wireComponents() {
    // The page area's contents carry the tool's own ids, which may repeat these; the window's
    // components are therefore looked up once, before any page is there.
    for (int32_t id :
         {SaveButton, NewButton, ImportButton, ExportButton, DeleteButton, SaveAsButton,
          RenameButton, CloseButton, StartProfileButton, InstanceTree, ProfileCombo})
        listenTo(id);
    tree = gui::interfaceOf<Tree>(find(InstanceTree));
    combo = gui::interfaceOf<gui::componentinterface::ComboBox>(find(ProfileCombo));
    pageArea = find(PageArea);
    if (tree != nullptr)
        tree->setupColumns();
}

void ConfigWindow::fillTree() {
    if (tree == nullptr)
        return;
    CoreImplementation* core = CoreImplementation::existing();
    InstanceReference* rootReference = core != nullptr ? core->getRoot() : nullptr;
    // The tree shows the children of its root node; the root instance is the first line, under
    // the name of the page it holds.
    auto* built = new ConfigTreeNode(nullptr);
    auto* top = new ConfigTreeNode(rootReference ? rootReference->getInstance() : nullptr,
                                   "Main Preferences");
    built->insertChild(top);
    std::vector<std::pair<ConfigTreeNode*, InstanceReference*>> pending{{top, rootReference}};
    while (!pending.empty()) {
        auto [node, reference] = pending.back();
        pending.pop_back();
        for (int i = 0; reference != nullptr && i < reference->childCount(); ++i) {
            InstanceReference* below = reference->child(i);
            if (!below->isActive() || below->getInstance() == nullptr)
                continue;
            auto* childNode = new ConfigTreeNode(below->getInstance());
            node->insertChild(childNode);
            pending.emplace_back(childNode, below);
        }
    }
    filling = true;
    ConfigTreeNode* old = treeRoot;
    treeRoot = built;
    tree->setRoot(treeRoot);
    treeRoot->forEach([this](ConfigTreeNode* node) {
        if (node->instance != nullptr)
            subscribe(node->instance);
    });
    tree->refresh();
    filling = false;
    delete old;
}

void ConfigWindow::refreshInstances() {
    if (getRoot() == nullptr || tree == nullptr)
        return;
    fillTree();
    bool stillShown = false;
    treeRoot->forEach([&](ConfigTreeNode* node) {
        stillShown |= current != nullptr && node->instance == current;
    });
    if (!stillShown && current != nullptr)
        selectInstance(nullptr);
    else if (current != nullptr)
        selectInstance(current);
}

void ConfigWindow::selectInstance(Instance* instance) {
    setPageAside();
    if (current != nullptr && current != instance && tree != nullptr) {
        bool stillShown = false;
        treeRoot->forEach([&](ConfigTreeNode* node) { stillShown |= node->instance == current; });
        // Without the subscription the window would not learn of the instance's end, so its
        // kept page goes with it.
        if (!stillShown) {
            recentPages.forget(pageOwner(current));
            unsubscribe(current);
        }
    }
    current = instance;
    if (current != nullptr)
        subscribe(current);
    if (tree != nullptr && treeRoot != nullptr) {
        ConfigTreeNode* found = nullptr;
        treeRoot->forEach([&](ConfigTreeNode* node) {
            if (found == nullptr && node->instance == instance && instance != nullptr)
                found = node;
        });
        filling = true;
        tree->selectNode(found);
        filling = false;
    }
    showPage();
    fillProfiles();
    // Its values may have come back to the profile while another instance was shown.
    settleMark();
    refreshTitle();
}

void ConfigWindow::showPage() {
    configadaptor::Node* configRoot = current != nullptr ? current->getConfigRoot() : nullptr;
    // The main preferences keep their values in the settings file, not in profiles.
    withProfiles = configRoot != nullptr && !configRoot->writeProfile().isEmpty();
    for (int32_t id : {ConfigOnlyButton, StartProfileButton})
        if (gui::Component* button = find(id))
            button->setEnabled(configRoot != nullptr, false);
    for (int32_t id : {ProfileCombo, SaveButton, NewButton, ImportButton, ExportButton,
                       DeleteButton, RenameButton, SaveAsButton, StartProfileButton})
        if (gui::Component* control = find(id); control != nullptr && !withProfiles)
            control->setEnabled(false, false);
        else if (control != nullptr && id != StartProfileButton)
            control->setEnabled(true, false);
    if (configRoot == nullptr || pageArea == nullptr)
        return;
    page = recentPages.take(pageOwner(current), configRoot);
    const bool built = page == nullptr;
    if (built)
        page = configRoot->buildPage();
    if (page == nullptr)
        return;
    pageArea->addChild(page);
    if (pageArea->isShown())
        page->show();
    if (built)
        tidyPage(page);
    listenToElements(configRoot);
}

// A generated page stacks its groups from the top: each group is as tall as its content and the
// room left over stays below the last one, and a number or choice field stops at a width that
// still reads as one value instead of spanning the window.
void ConfigWindow::tidyPage(gui::Component* built) {
    constexpr int FieldWidth = 180;
    QWidget* area = built != nullptr ? built->getWidget() : nullptr;
    gui::Component* list = built != nullptr && built->childCount() > 0 ? built->child(0) : nullptr;
    if (QWidget* column = list != nullptr ? list->getWidget() : nullptr)
        if (auto* box = qobject_cast<QBoxLayout*>(column->layout()))
            box->addStretch(1);
    if (area == nullptr)
        return;
    for (QWidget* field : area->findChildren<QWidget*>())
        if (qobject_cast<QAbstractSpinBox*>(field) || qobject_cast<QComboBox*>(field) ||
            (qobject_cast<QLineEdit*>(field) &&
             !qobject_cast<QAbstractSpinBox*>(field->parentWidget()) &&
             !qobject_cast<QComboBox*>(field->parentWidget())))
            field->setMaximumWidth(FieldWidth);
}

void ConfigWindow::setPageAside() {
    if (page == nullptr)
        return;
    gui::Component* old = page;
    page = nullptr;
    recentPages.keep(pageOwner(current), current != nullptr ? current->getConfigRoot() : nullptr,
                     old);
}

void ConfigWindow::removePage() {
    if (page == nullptr)
        return;
    gui::Component* old = page;
    page = nullptr;
    old->hide();
    // The elements unbind the page when it announces its end.
    old->destroy();
}

void ConfigWindow::listenToElements(configadaptor::Node* element) {
    if (element == nullptr)
        return;
    subscribe(element);
    for (int i = 0; i < element->childCount(); ++i)
        listenToElements(element->child(i));
}

XMLFileManager* ConfigWindow::store() const {
    if (current == nullptr || current->getTool() == nullptr || !withProfiles)
        return nullptr;
    return &current->getTool()->configProfilesOf(*current);
}

void ConfigWindow::fillProfiles() {
    if (combo == nullptr)
        return;
    combo->clear();
    XMLFileManager* profiles = store();
    if (profiles == nullptr || !withProfiles)
        return;
    for (const std::string& name : profiles->names())
        combo->insertItem(name, -1);
    combo->setCurrentText(current->getConfigProfileName());
}

std::string ConfigWindow::title() const {
    if (current == nullptr)
        return "Configuration for Morvik Quorvane";
    std::string text = "Configuration for " + current->getName();
    const std::string& profile = current->getConfigProfileName();
    if (!profile.empty())
        text += " - " + profile + (hasUnsavedChanges() ? "*" : "");
    return text;
}

bool ConfigWindow::hasUnsavedChanges() const {
    return current != nullptr && unsaved.count(current) > 0;
}

void ConfigWindow::refreshTitle() {
    if (gui::Component* root = getRoot())
        root->setLabel(title());
}

void ConfigWindow::setStatus(const std::string& text) {
    if (gui::Component* status = find(StatusLine))
        status->setLabel(text);
}

void ConfigWindow::markStored() {
    unsaved.erase(current);
    refreshTitle();
}

// The title's mark says that the values differ from the stored profile. A change sets it; when
// the values come back to the profile (an undo, or the old value typed in again), it goes again,
// which the plain mark of a change would not do. Compared only while marked: a clean instance
// that changes is marked at once.
void ConfigWindow::settleMark() {
    if (current == nullptr || unsaved.count(current) == 0)
        return;
    XMLFileManager* profiles = store();
    const std::string& name = current->getConfigProfileName();
    if (profiles == nullptr || !profiles->hasElement(name))
        return;
    if (current->makeConfigProfile(name).deepEquals(profiles->elementByName(name)))
        unsaved.erase(current);
}

// The instance whose elements sent a change: a page kept aside belongs to another instance than
// the one shown. An element outside every listed instance counts as the shown one's.
Instance* ConfigWindow::ownerOf(const util::MessageNode* origin) const {
    const auto* element = dynamic_cast<const configadaptor::Node*>(origin);
    if (element == nullptr)
        return current;
    while (element->parent() != nullptr)
        element = element->parent();
    if (current != nullptr && current->getConfigRoot() == element)
        return current;
    Instance* owner = nullptr;
    if (treeRoot != nullptr)
        treeRoot->forEach([&](ConfigTreeNode* node) {
            if (node->instance != nullptr && node->instance->getConfigRoot() == element)
                owner = node->instance;
        });
    return owner != nullptr ? owner : current;
}

std::string ConfigWindow::comboText() const {
    return combo != nullptr ? combo->getCurrentText() : std::string();
}

void ConfigWindow::handleMessage(util::Message& message, bool) {
    if (message.id == util::Message::Destroying) {
        onInstanceGone(message.origin);
        return;
    }
    if (message.id == Instance::Renamed) {
        if (tree != nullptr)
            tree->refresh();
        refreshTitle();
        return;
    }
    if (message.id == Instance::ConfigProfileApplied) {
        if (current != nullptr && static_cast<util::MessageNode*>(current) == message.origin) {
            fillProfiles();
            markStored();
        }
        return;
    }
    if (message.id == ConfigurationChanged) {
        Instance* changed = ownerOf(message.origin);
        if (changed == nullptr)
            return;
        unsaved.insert(changed);
        if (changed == current) {
            settleMark();
            refreshTitle();
        }
        return;
    }
    if (auto* sender = dynamic_cast<gui::Component*>(message.origin))
        onComponentEvent(*sender, message.id);
}

void ConfigWindow::onInstanceGone(const util::MessageNode* dying) {
    if (treeRoot == nullptr && current == nullptr)
        return;
    bool wasShown = false;
    if (treeRoot != nullptr)
        treeRoot->forEach([&](ConfigTreeNode* node) {
            if (static_cast<const util::MessageNode*>(node->instance) == dying) {
                node->instance = nullptr;
                wasShown = true;
            }
        });
    std::erase_if(unsaved, [&](const Instance* instance) {
        return static_cast<const util::MessageNode*>(instance) == dying;
    });
    // The instance's elements die with it; a page of it kept aside goes now as well.
    recentPages.forget(dying);
    if (static_cast<const util::MessageNode*>(current) != dying)
        return;
    // The instance's elements die with it; its page goes now, before anything reaches it.
    current = nullptr;
    removePage();
    if (combo != nullptr)
        combo->clear();
    refreshTitle();
    if (wasShown && tree != nullptr)
        tree->refresh();
}

void ConfigWindow::onComponentEvent(gui::Component& sender, int32_t code) {
    if (&sender == getRoot()) {
        HostAdaptor* adaptor = host();
        if (adaptor != nullptr && code == WindowActivated)
            adaptor->onWindowActivated();
        else if (adaptor != nullptr && code == WindowDeactivated)
            adaptor->onWindowDeactivated();
        return;
    }
    const int32_t id = sender.getId();
    if (id == InstanceTree && code == SelectionChanged && !filling && tree != nullptr) {
        auto* node = dynamic_cast<ConfigTreeNode*>(tree->getCurrentNode());
        if (node != nullptr && node->instance != current)
            selectInstance(node->instance);
        return;
    }
    if (id == ProfileCombo && code == IndexChanged) {
        onProfileChosen();
        return;
    }
    if (code == ButtonClicked)
        onClicked(id);
}

void ConfigWindow::onClicked(int32_t id) {
    switch (id) {
    case SaveButton:
        save();
        return;
    case NewButton:
        saveAsNew(true);
        return;
    case SaveAsButton:
        saveAsNew(false);
        return;
    case ImportButton:
        importProfile();
        return;
    case ExportButton:
        exportProfile();
        return;
    case DeleteButton:
        deleteProfile();
        return;
    case CloseButton:
        hideWindow();
        return;
    case RenameButton:
        renameProfile();
        return;
    case StartProfileButton:
        storeStartProfile();
        return;
    default:
        return;
    }
}

bool ConfigWindow::loadProfile(const std::string& name) {
    XMLFileManager* profiles = store();
    if (profiles == nullptr || !profiles->hasElement(name))
        return false;
    current->applyConfigProfile(profiles->elementByName(name));
    markStored();
    return true;
}

void ConfigWindow::onProfileChosen() {
    XMLFileManager* profiles = store();
    const std::string chosen = comboText();
    // A name typed into the box is no profile yet: it only names the next save.
    if (profiles == nullptr || !profiles->hasElement(chosen))
        return;
    const std::string previous = current->getConfigProfileName();
    if (chosen != previous && hasUnsavedChanges()) {
        Instance* const asked = current;
        const int answer = messageBox("Do you wish to save your changes to " + previous + "?",
                                      "Save?", Flag::Save | Flag::Discard | Flag::Cancel);
        if (current != asked)
            return;
        if (answer == static_cast<int>(Flag::Cancel)) {
            combo->setCurrentText(previous);
            return;
        }
        if (answer == static_cast<int>(Flag::Save) && !saveUnder(previous)) {
            combo->setCurrentText(previous);
            return;
        }
        combo->setCurrentText(chosen);
    }
    loadProfile(chosen);
}

bool ConfigWindow::isOwnFile(const std::string& name) const {
    XMLFileManager* profiles = store();
    if (profiles == nullptr || profiles->destinationPath().empty())
        return false;
    const std::string file = profiles->fileOf(name);
    return file == profiles->destinationPath() + "/" + name + ".mcp";
}

bool ConfigWindow::saveUnder(const std::string& name) {
    XMLFileManager* profiles = store();
    if (profiles == nullptr)
        return false;
    // Saving an installed profile writes the user's own copy, which hides the installed file from
    // then on; only the examples are kept as shipped.
    int result = XMLFileManager::Refused;
    if (name.find("Example:") == std::string::npos)
        result = profiles->addElement(current->makeConfigProfile(name), true, false);
    if (result == XMLFileManager::Refused) {
        messageBox("The specified profile is considered read-only and cannot be overwritten.",
                   Caption, Flag::Ok);
        return false;
    }
    if (result != XMLFileManager::Done) {
        messageBox("The profile could not be saved", ErrorCaption, Flag::Ok);
        return false;
    }
    loadProfile(name);
    fillProfiles();
    return true;
}

void ConfigWindow::save() {
    if (store() == nullptr)
        return;
    const std::string name = comboText();
    if (name.empty()) {
        messageBox("Please select or specify a profile", Caption, Flag::Ok);
        return;
    }
    saveUnder(name);
}

void ConfigWindow::saveAsNew(bool fromFactorySettings) {
    XMLFileManager* profiles = store();
    if (profiles == nullptr)
        return;
    Instance* const naming = current;
    const std::optional<std::string> name = askName(
        fromFactorySettings ? "New profile..." : "Save profile as...", "Select a new name", "New");
    // The instance may have gone while the prompt was up.
    if (!name || current != naming)
        return;
    if (fromFactorySettings)
        current->applyConfigProfile(profiles->elementByName(XMLFileManager::FactorySettings));
    saveUnder(*name);
}

std::optional<std::string> ConfigWindow::askName(const std::string& caption, std::string prompt,
                                                 std::string proposal) {
    for (;;) {
        std::string name = proposal;
        if (!platform::interaction().textInput(getRoot() ? getRoot()->getWidget() : nullptr,
                                               caption, prompt, name) ||
            name.empty())
            return std::nullopt;
        // The rejected name stays as the proposal, so that it can be corrected.
        proposal = name;
        if (combo != nullptr && combo->findItem(name) >= 0) {
            const int answer =
                messageBox("This will overwrite the profile " + name + ", do you wish to continue?",
                           "Overwrite?", Flag::Yes | Flag::No, true);
            if (answer == static_cast<int>(Flag::Yes))
                return name;
            prompt = name + " - name already exists.";
            continue;
        }
        if (name.find_first_of(ForbiddenCharacters) != std::string::npos) {
            prompt = name + " - name contains forbidden characters. \n The following characters "
                            "are not allowed: \\ / : * ? \" < > | . , [ ] ; =";
            continue;
        }
        return name;
    }
}

void ConfigWindow::importProfile() {
    XMLFileManager* profiles = store();
    if (profiles == nullptr)
        return;
    Instance* const importing = current;
    std::string chosen;
    if (!platform::interaction().openFileName(getRoot() ? getRoot()->getWidget() : nullptr,
                                              "Import profile", "", ProfileFilter, chosen) ||
        current != importing)
        return;
    const std::vector<util::xml::Element> read = profiles->readProfiles(chosen);
    if (read.empty()) {
        messageBox("The profile could not be imported. ", ErrorCaption, Flag::Ok);
        return;
    }
    // A profile of the same name is replaced; the store refuses only the reserved names.
    const int result = profiles->addElement(read.front(), true, false);
    if (result == XMLFileManager::Refused) {
        messageBox("The profile already exists and cannot be overwritten.", Caption, Flag::Ok);
        return;
    }
    if (result != XMLFileManager::Done) {
        messageBox("The profile could not be imported. ", ErrorCaption, Flag::Ok);
        return;
    }
    current->getConfigRoot()->refreshPages();
    fillProfiles();
}

void ConfigWindow::exportProfile() {
    XMLFileManager* profiles = store();
    if (profiles == nullptr)
        return;
    Instance* const exporting = current;
    std::string chosen;
    if (!platform::interaction().saveFileName(getRoot() ? getRoot()->getWidget() : nullptr,
                                              "Export profile", "", ProfileFilter, chosen) ||
        current != exporting)
        return;
    if (!profiles->exportElement(current->makeConfigProfile(fileNameOf(chosen)), chosen))
        messageBox("The profile could not be saved", ErrorCaption, Flag::Ok);
}

void ConfigWindow::deleteProfile() {
    XMLFileManager* profiles = store();
    if (profiles == nullptr)
        return;
    const std::string name = comboText();
    if (name.empty()) {
        messageBox("Please select or specify a profile", Caption, 64);
        return;
    }
    Instance* const deleting = current;
    const int answer = messageBox("Do you really want to delete the profile: " + name + "?",
                                  Caption, Flag::Yes | Flag::No, true);
    if (answer != static_cast<int>(Flag::Yes) || current != deleting)
        return;
    if (profiles->removeElement(name) != XMLFileManager::Done)
        return;
    fillProfiles();
    // An installed profile that the user's copy hid comes back under the same name; else the
    // first entry is shown. Whatever the box shows is what the instance then carries.
    combo->setCurrentText(profiles->hasElement(name) ? name : combo->getItemText(0));
    if (!loadProfile(comboText()))
        combo->setCurrentText({});
    refreshTitle();
}

void ConfigWindow::renameProfile() {
    XMLFileManager* profiles = store();
    const std::string name = comboText();
    if (profiles == nullptr || name.empty())
        return;
    if (name.find("Example:") != std::string::npos) {
        messageBox("Cannot rename example profiles.", Caption, Flag::Ok | Flag::IconInformation);
        return;
    }
    if (!isOwnFile(name)) {
        messageBox("Cannot rename this profile.", Caption, Flag::Ok | Flag::IconInformation);
        return;
    }
    Instance* const renaming = current;
    const std::optional<std::string> newName = askName("Rename", "Set a new name", name);
    if (!newName || current != renaming)
        return;
    if (profiles->renameElement(name, *newName) != XMLFileManager::Done) {
        messageBox("The specified profile could not be renamed, please try with another name.",
                   Caption, Flag::Ok);
        return;
    }
    fillProfiles();
    combo->setCurrentText(*newName);
    loadProfile(*newName);
}

void ConfigWindow::storeStartProfile() {
    XMLFileManager* profiles = store();
    if (profiles == nullptr || current->getConfigRoot() == nullptr)
        return;
    const char* name = XMLFileManager::StartProfile;
    if (profiles->addElement(current->makeConfigProfile(name), true, false) != XMLFileManager::Done)
        return;
    if (current->getConfigProfileName() == name)
        markStored();
    fillProfiles();
    setStatus("Start Profile saved");
}

} // namespace mvk::qvn::core
