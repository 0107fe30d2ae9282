#include "core/instances/InstanceReference.h"

#include "core/CoreImplementation.h"
#include "core/instances/Instance.h"
#include "core/instances/InstanceReferenceUndo.h"
#include "core/instances/SceneTagWriter.h"
#include "core/libraries/Template.h"
#include "sdk/CoreNode.h"

namespace mvk::qvn::core {

namespace {

HostAdaptor* adaptor() {
    CoreImplementation* core = CoreImplementation::existing();
    return core ? core->getAdaptor() : nullptr;
}

} // namespace

InstanceReference::InstanceReference(Instance* owner) : instance(owner) {
    if (instance != nullptr)
        instance->setReference(this);
    HostAdaptor* host = adaptor();
    if (host != nullptr && host->isHolding())
        host->putUndo(new InstanceReferenceCreateRestore(this, nullptr, -1));
}

InstanceReference::~InstanceReference() {
    InstanceReferenceRecord::forget(this);
    // Children go first (last first), each taking its instance with it; then our own instance.
    while (childCount() > 0)
        child(childCount() - 1)->destroy();
    if (Instance* owned = instance) {
        instance = nullptr;
        owned->setReference(nullptr);
        owned->destroy();
    }
}

std::string InstanceReference::getName() const { return instance ? instance->getName() : ""; }

void InstanceReference::deleteTool() {
    HostAdaptor* host = adaptor();
    if (host != nullptr)
        host->beginHold("Delete tool");
    if (!isRoot())
        deleteReference(true);
    if (host != nullptr)
        host->acceptHold();
}

void InstanceReference::deleteReference(bool withNodes) {
    if (!active)
        return;
    HostAdaptor* host = adaptor();
    if (host != nullptr)
        host->beginHold("Delete Morvik Tool");
    for (int i = childCount() - 1; i >= 0; --i)
        child(i)->deleteReference(withNodes);
    active = false;
    if (InstanceReference* owner = parent()) {
        auto* record = new InstanceReferenceDeleteRestore(this, owner, childIndex());
        takeOut();
        if (host != nullptr)
            host->putUndo(record);
        else
            record->release();
    }
    if (instance != nullptr)
        instance->deleteInstance(withNodes);
    if (host != nullptr)
        host->acceptHold();
}

void InstanceReference::rename(const std::string& name) {
    if (instance == nullptr)
        return;
    HostAdaptor* host = adaptor();
    if (host != nullptr)
        host->beginHold("Rename");
    auto* record = new InstanceReferenceRename(this, name, instance->getName());
    instance->rename(name);
    if (host != nullptr)
        host->putUndo(record);
    else
        record->release();
    if (host != nullptr)
        host->acceptHold();
}

InstanceReference* InstanceReference::clone() {
    HostAdaptor* host = adaptor();
    if (host != nullptr)
        host->beginHold("Clone tool");
    InstanceReference* copy = nullptr;
    if (InstanceReference* owner = parent(); owner != nullptr && instance != nullptr) {
        Template* stored = Template::make(nullptr, SceneTagWriter::write(*this, 0), "");
        copy = stored ? stored->createInstance("") : nullptr;
        if (stored != nullptr)
            stored->release();
        if (copy != nullptr)
            owner->insertChild(copy);
    }
    if (host != nullptr)
        host->acceptHold();
    return copy;
}

void InstanceReference::takeOut() {
    if (InstanceReference* owner = parent())
        owner->removeChild(this);
    if (instance != nullptr) {
        instance->leaveDeviceHandler();
        instance->closeInputSettings();
    }
}

void InstanceReference::putBack(InstanceReference* owner, int position) {
    active = true;
    if (owner != nullptr)
        owner->insertChild(this, position);
    if (instance != nullptr)
        instance->rejoinDeviceHandler();
}

void InstanceReference::collectChecked(std::vector<InstanceReference*>& out) {
    if (!active)
        return;
    if (checked && instance != nullptr)
        out.push_back(this);
    for (int i = 0; i < childCount(); ++i)
        child(i)->collectChecked(out);
}

void InstanceReference::forEachNode(const std::function<void(CoreNode*)>& apply) {
    if (!active)
        return;
    if (instance != nullptr)
        for (CoreNode* node : instance->getNodes())
            if (node != nullptr)
                apply(node);
    for (int i = 0; i < childCount(); ++i)
        child(i)->forEachNode(apply);
}

void InstanceReference::showNodes(bool on) {
    forEachNode([on](CoreNode* node) { node->setVisible(on); });
}

void InstanceReference::showNodesInFull(bool on) {
    forEachNode([on](CoreNode* node) { node->setFullDisplay(on); });
}

InstanceReference* InstanceReference::find(const std::string& name) {
    if (active && instance != nullptr && instance->getName() == name)
        return this;
    for (int i = 0; i < childCount(); ++i)
        if (InstanceReference* found = child(i)->find(name))
            return found;
    return nullptr;
}

} // namespace mvk::qvn::core
