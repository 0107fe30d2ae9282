#include "core/instances/InstanceReferenceUndo.h"

#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "util/Log.h"

namespace mvk::qvn::core {

InstanceReferenceCreateRestore::InstanceReferenceCreateRestore(InstanceReference* reference,
                                                               InstanceReference* parent,
                                                               int position)
    : reference(reference), parent(parent), position(position) {}

void InstanceReferenceCreateRestore::restore() {
    // Where the reference went after it was made is only known now.
    parent = reference->parentReference();
    position = reference->childIndex();
    reference->setActive(false);
    reference->takeOut();
    undone = true;
}

void InstanceReferenceCreateRestore::redo() {
    reference->putBack(parent, position);
    undone = false;
}

InstanceReferenceCreateRestore::~InstanceReferenceCreateRestore() {
    if (undone)
        reference->destroy();
}

InstanceReferenceDeleteRestore::InstanceReferenceDeleteRestore(InstanceReference* reference,
                                                               InstanceReference* parent,
                                                               int position)
    : reference(reference), parent(parent), position(position) {}

void InstanceReferenceDeleteRestore::restore() {
    reference->putBack(parent, position);
    deleted = false;
}

void InstanceReferenceDeleteRestore::redo() {
    reference->setActive(false);
    reference->takeOut();
    deleted = true;
}

InstanceReferenceDeleteRestore::~InstanceReferenceDeleteRestore() {
    util::Log::instance()->write("Destroying InstanceReferenceDeleteRestore", util::Log::Notice);
    if (!deleted)
        return;
    util::Log::instance()->write("Deleting reference", util::Log::Notice);
    reference->destroy();
}

InstanceReferenceRename::InstanceReferenceRename(InstanceReference* reference,
                                                 std::string newName, std::string oldName)
    : reference(reference), newName(std::move(newName)), oldName(std::move(oldName)) {}

void InstanceReferenceRename::restore() {
    if (Instance* instance = reference->getInstance())
        instance->rename(oldName);
}

void InstanceReferenceRename::redo() {
    if (Instance* instance = reference->getInstance())
        instance->rename(newName);
}

} // namespace mvk::qvn::core
