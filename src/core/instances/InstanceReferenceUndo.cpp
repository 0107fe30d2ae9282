#include "core/instances/InstanceReferenceUndo.h"

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
}

void InstanceReferenceCreateRestore::redo() {
    if (reference == nullptr)
        return;
    reference->putBack(parent, position);
    undone = false;
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
}

void InstanceReferenceDeleteRestore::redo() {
    if (reference == nullptr)
        return;
    reference->setActive(false);
    reference->takeOut();
    deleted = true;
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
}

void InstanceReferenceRename::redo() {
    if (reference == nullptr)
        return;
    if (Instance* instance = reference->getInstance())
        instance->rename(newName);
}

} // namespace mvk::qvn::core
