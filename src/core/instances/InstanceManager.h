#pragma once
// Owns the root of the tree of tool instances.
#include "core/CoreSubSystem.h"

#include "util/xml/Element.h"

#include <string>
#include <vector>

namespace mvk::qvn::core {

class Instance;
class InstanceReference;

class InstanceManager : public CoreSubSystem {
public:
    explicit InstanceManager(CoreImplementation* core);
    ~InstanceManager() override;

    // Creates the root instance from the "Group" tool.
    void initSubSystem() override;
    InstanceReference* getRoot() const { return root; }
    // Releases the root reference and with it the whole tree.
    void releaseRoot();

    // An instance of the tool `toolId` named after `name`, appended below `parent` (the root
    // when null), as one host operation "Creating instance"; null when the tool is missing or
    // cannot make the instance.
    InstanceReference* createInstance(const std::string& toolId, const std::string& name,
                                      InstanceReference* parent = nullptr);
    // The instances stored in a scene element ("QVT", "qvn" or a single tag), appended below
    // `parent` (the root when null) as one cancelled host operation; the first one made, or null.
    InstanceReference* createFromScene(const util::xml::Element& scene,
                                       InstanceReference* parent = nullptr);
    // The reference of the instance named `name` in the tree, or null.
    InstanceReference* findReference(const std::string& name) const;
    // The ticked instances of the tree, in tree order.
    std::vector<Instance*> checkedInstances() const;
    // Every instance of every tool, in creation order per tool.
    std::vector<Instance*> instanceList() const;

private:
    InstanceReference* root = nullptr;
};

} // namespace mvk::qvn::core
