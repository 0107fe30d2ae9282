#include "core/instances/InstanceReferenceUndo.h"

#include "core/CoreImplementation.h"
#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "util/Log.h"

#include <algorithm>
#include <vector>

namespace mvk::qvn::core {

namespace {
std::vector<InstanceReferenceRecord*>& liveRecords() {
    static std::vector<InstanceReferenceRecord*> records;
    return records;
}

// The host's undo and redo change the tree behind the main window's back: it shows the change
// at once rather than when the window is next activated, and its status line says what changed
// (a "Deleted ..." report left standing after the undo would tell the opposite).
void showTreeChange(const std::string& what) {
    CoreImplementation* core = CoreImplementation::existing();
    if (core == nullptr)
        return;
    core->refreshTree();
    core->noteTreeStep(what);
}
} // namespace

InstanceReferenceRecord::InstanceReferenceRecord(InstanceReference* reference)
    : reference(reference) {
    liveRecords().push_back(this);
}

InstanceReferenceRecord::~InstanceReferenceRecord() {
    auto& records = liveRecords();
    records.erase(std::remove(records.begin(), records.end(), this), records.end());
}

void InstanceReferenceRecord::forget(InstanceReference* gone) {
    for (InstanceReferenceRecord* record : liveRecords())
        if (record->reference == gone)
            record->reference = nullptr;
}

InstanceReferenceCreateRestore::InstanceReferenceCreateRestore(InstanceReference* reference,
                                                               InstanceReference* parent,
                                                               int position)
    : InstanceReferenceRecord(reference), parent(parent), position(position) {}

void InstanceReferenceCreateRestore::restore(bool) {
    if (reference == nullptr)
        return;
    // Where the reference went after it was made is only known now.
    parent = reference->parentReference();
    position = reference->childIndex();
    reference->setActive(false);
    reference->takeOut();
    undone = true;
    showTreeChange("Undone: created " + reference->getName());
}

void InstanceReferenceCreateRestore::redo() {
    if (reference == nullptr)
        return;
    reference->putBack(parent, position);
    undone = false;
    showTreeChange("Created " + reference->getName() + " again");
}

InstanceReferenceCreateRestore::~InstanceReferenceCreateRestore() {
    if (undone && reference != nullptr)
        reference->destroy();
}

InstanceReferenceDeleteRestore::InstanceReferenceDeleteRestore(InstanceReference* reference,
                                                               InstanceReference* parent,
                                                               int position)
    : InstanceReferenceRecord(reference), parent(parent), position(position) {}

void InstanceReferenceDeleteRestore::restore(bool) {
    if (reference == nullptr)
        return;
    reference->putBack(parent, position);
    deleted = false;
    showTreeChange("Brought back " + reference->getName());
}

void InstanceReferenceDeleteRestore::redo() {
    if (reference == nullptr)
        return;
    reference->setActive(false);
    reference->takeOut();
    deleted = true;
    showTreeChange("Removed " + reference->getName() + " again");
}

InstanceReferenceDeleteRestore::~InstanceReferenceDeleteRestore() {
    util::Log::instance()->write("Destroying InstanceReferenceDeleteRestore", util::Log::Notice);
    if (!deleted || reference == nullptr)
        return;
    util::Log::instance()->write("Deleting reference", util::Log::Notice);
    reference->destroy();
}

InstanceReferenceRename::InstanceReferenceRename(InstanceReference* reference,
                                                 std::string newName, std::string oldName)
    : InstanceReferenceRecord(reference), newName(std::move(newName)),
      oldName(std::move(oldName)) {}

void InstanceReferenceRename::restore(bool) {
    if (reference == nullptr)
        return;
    if (Instance* instance = reference->getInstance())
        instance->rename(oldName);
    showTreeChange("Renamed back to " + oldName);
}

void InstanceReferenceRename::redo() {
    if (reference == nullptr)
        return;
    if (Instance* instance = reference->getInstance())
        instance->rename(newName);
    showTreeChange("Renamed to " + newName);
}

} // namespace mvk::qvn::core
