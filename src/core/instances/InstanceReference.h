#pragma once
// The tree item that stands for one instance in the tool tree. Parents own their children;
// destroying a reference destroys its instance.
#include "util/Composite_Dynamic.h"
#include "util/DynamicObject.h"

#include <functional>
#include <string>

namespace mvk::qvn {
class CoreNode;
}

namespace mvk::qvn::core {

class Instance;

class InstanceReference : public util::DynamicObject,
                          public util::DynamicCreator,
                          public util::Composite_Dynamic<InstanceReference> {
public:
    // Gives `instance` this reference; while the host holds an operation, records the creation
    // as an undo step.
    explicit InstanceReference(Instance* instance);
    ~InstanceReference() override;
    void destroyComposite() override { destroy(); }

    Instance* getInstance() const { return instance; }
    // Called by an instance that is being destroyed, so the reference does not destroy it again.
    void forgetInstance() { instance = nullptr; }
    InstanceReference* parentReference() const { return parent(); }
    // The top of the tree (no parent).
    bool isRoot() const { return parent() == nullptr; }
    // The instance's name, or "" for an instance-less reference.
    std::string getName() const;

    bool isShown() const { return shown; }
    bool isExpanded() const { return expanded; }
    bool isChecked() const { return checked; }
    void setChecked(bool value) { checked = value; }
    // An inactive reference counts as deleted.
    bool isActive() const { return active; }
    void setActive(bool value) { active = value; }

    // The tree's delete command: one host operation "Delete tool"; the root is never deleted.
    void deleteTool();
    // Deletes the children (last first), records the deletion for undo and deletes the instance
    // with or without its host nodes, as one host operation "Delete Morvik Tool".
    void deleteReference(bool withNodes);
    // Renames the instance as one undoable host operation "Rename".
    void rename(const std::string& name);

    // The tree's clone command: a copy of this reference's instance tree (without save data),
    // appended as the last child of this reference's parent, as one host operation "Clone
    // tool". Null when no copy could be made; the root is never cloned.
    InstanceReference* clone();

    // Undo support: leave the parent / go back to it at a position.
    void takeOut();
    void putBack(InstanceReference* parent, int position);

    // The display switches: every host node of every instance below this reference (this one
    // included) is shown or hidden, or drawn in full or simplified.
    void showNodes(bool on);
    void showNodesInFull(bool on);

    // Ticked references below this one (this one included), in tree order.
    void collectChecked(std::vector<InstanceReference*>& out);
    // The reference whose instance bears `name`, searched below (and at) this one.
    InstanceReference* find(const std::string& name);

private:
    // Calls `apply` with every host node of every active instance below (and at) this one.
    void forEachNode(const std::function<void(CoreNode*)>& apply);

    Instance* instance;
    bool shown = true;
    bool expanded = true;
    bool checked = true;
    bool active = true;
};

} // namespace mvk::qvn::core
