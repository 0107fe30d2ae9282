#pragma once
// What the user picks to create an instance: a plug-in's tool or a template.
#include "sdk/CExtendable.h"
#include "util/DynamicObject.h"
#include "util/MessageNode.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace mvk::gui {
class Component;
}
namespace mvk::util::xml {
class Element;
}

namespace mvk::qvn::core {

class Instance;
class InstanceReference;
class Library;

class Tool : public util::DynamicObject, public util::MessageNode, public CExtendable {
public:
    // The tool's stores of configuration profiles ("*.mcp") and input profiles ("*.mip"),
    // defined in their own headers.
    class ConfigProfileManager;
    class InputProfileManager;

    // Tool kinds.
    static constexpr int KindPlugin = 1;
    static constexpr int KindTemplate = 2;

    // Registers with its library (which owns it).
    explicit Tool(Library* library);
    Tool(const Tool&) = delete;
    Tool& operator=(const Tool&) = delete;

    // Destroys the tool.
    virtual void release();
    ~Tool() override;
    // The product pop-out, hidden and owned by the caller; null when its layout cannot be read.
    virtual gui::Component* infoPanel();
    virtual std::string description() const = 0;
    virtual std::string furtherText() const = 0;
    // Listed in the "New tool" menu.
    virtual bool isCreatable() const = 0;
    virtual int kind() const = 0;
    // The identifiers tools are found by; the first is the tool's name.
    virtual std::vector<std::string> identifiers() const = 0;
    virtual std::vector<std::string> categories() const = 0;
    // Where the tool's per-user data (profiles) lives.
    virtual std::string dataFolder() const = 0;
    // Where the tool's installed data (factory profiles, images) lives.
    virtual std::string installedDataFolder() const = 0;
    virtual std::string helpDocument() const = 0;
    // A new instance named `name` (the tool's name + "_01" when empty) with its tree item, or
    // null when the tool cannot make one.
    virtual InstanceReference* createInstance(const std::string& name) = 0;
    // The instance object alone, or null.
    virtual Instance* createInstanceObject(const std::string& name) = 0;
    // Fills `tag` with the scene tag of a fresh instance of this tool named `name`.
    virtual void makeToolTag(util::xml::Element& tag, const std::string& name) const = 0;

    // The tool's name, as its message node reports it.
    std::string name() const override;
    Library* getLibrary() const { return library; }
    ConfigProfileManager& configProfiles() { return *configStore; }
    InputProfileManager& inputProfiles() { return *inputStore; }
    // The stores `instance` keeps its profiles in: the tool's own, or those of the folder the
    // tool gives the instance (profileFolderOf), made when first asked for.
    ConfigProfileManager& configProfilesOf(const Instance& instance);
    InputProfileManager& inputProfilesOf(const Instance& instance);

    // Instances add and remove themselves.
    void addInstance(Instance* instance) { instances.push_back(instance); }
    void removeInstance(Instance* instance);
    int instanceCount() const { return static_cast<int>(instances.size()); }
    Instance* instance(int index) const;
    // Asks each instance still registered, the last first, to release itself.
    void releaseInstances();
    // A new instance's profiles: its present configuration stored as "Factory Settings", then
    // the "Start Profile" of each store (made from the instance when missing) applied.
    void applyStartProfiles(Instance& instance);
    // Loads the named configuration profile of the store into `instance`; false when the store
    // has none of that name.
    bool applyConfigProfile(Instance& instance, const std::string& profile);

    // Splits a category text at ";"; splitting stops at the first empty piece.
    static std::vector<std::string> splitCategories(const std::string& text);

protected:
    // Points both stores at the tool's folders and reads the profiles they hold.
    void setUpProfileStores(const std::string& dataFolder, const std::string& installedFolder);
    // A folder below the tool's data folders that keeps the profiles of `instance` apart from
    // those of the tool's other instances; empty: the tool's own stores.
    virtual std::string profileFolderOf(const Instance& instance) const;

private:
    struct Stores {
        std::unique_ptr<ConfigProfileManager> config;
        std::unique_ptr<InputProfileManager> input;
    };
    Stores& storesIn(const std::string& folder);

    Library* library;
    std::vector<Instance*> instances;
    std::unique_ptr<ConfigProfileManager> configStore;
    std::unique_ptr<InputProfileManager> inputStore;
    // The stores of the folders given to instances, by folder.
    std::map<std::string, Stores> folderStores;
};

} // namespace mvk::qvn::core
