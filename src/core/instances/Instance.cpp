#include "core/instances/Instance.h"

#include "core/CoreImplementation.h"
#include "core/Paths.h"
#include "core/configadaptor/Button.h"
#include "core/configadaptor/CheckBox.h"
#include "core/configadaptor/ComboBox.h"
#include "core/configadaptor/Label.h"
#include "core/configadaptor/Spinner.h"
#include "core/configadaptor/Spinner_Int.h"
#include "core/configadaptor/TextBox.h"
#include "core/configadaptor/TreeBuilder.h"
#include "core/instances/InstanceReference.h"
#include "core/windows/InputConfigDlg.h"
#include "core/instances/SceneTagWriter.h"
#include "core/libraries/LibraryManager.h"
#include "core/libraries/Tool.h"
#include "gui/MessageBox.h"
#include "sdk/CCamera.h"
#include "sdk/CCameraPlugin.h"
#include "sdk/CVariableModUndo.h"
#include "sdk/CoreNode.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/Driver.h"
#include "unidevice/PropertyHandler.h"
#include "util/Log.h"

#include <algorithm>
#include <cmath>

namespace mvk::qvn::core {

namespace {

constexpr double VirtualControlThreshold = 0.1;
// Properties made for elements that a controller may drive: finite, trinary and binary inputs.
constexpr uint32_t SpinnerPropertyKinds = 14;

// Limits given the wrong way round hold the value at the upper one rather than failing.
double withinLimits(double value, double minimum, double maximum) {
    return std::min(std::max(value, minimum), maximum);
}

} // namespace

// Keeps a property's binding while a temporary control stands in for it. It watches the set-aside
// control, so a device that goes away meanwhile leaves nothing dangling to put back.
class Instance::SetAsideBinding : public unidevice::ControlTarget {
public:
    explicit SetAsideBinding(unidevice::Property* property)
        : property(property), control(property->control()), binding(property->binding()),
          temporary(nullptr, property->accepted(), VirtualControlThreshold) {
        temporary.setType("Temporary control");
        temporary.setDescription("Temporary control");
        if (control != nullptr)
            control->addTarget(this);
        property->bind(&temporary);
    }

    ~SetAsideBinding() override {
        if (control != nullptr)
            control->removeTarget(this);
    }

    void controlDeleted(unidevice::Control* deleted) override {
        if (deleted == control)
            control = nullptr;
    }

    // The property takes its own control and binding element back.
    void putBack() {
        property->bind(control);
        property->setBinding(binding);
    }

    unidevice::Property* const property;
    unidevice::Control* control;
    const util::xml::Element binding;
    unidevice::Control temporary;
    // Where the replay of this property's curve stands.
    size_t cursor = 0;
};

Instance::VirtualControl::VirtualControl(Instance* instance,
                                         const VirtualControlDescriptor& descriptor)
    : Control(instance, descriptor.kind, VirtualControlThreshold) {
    setType(descriptor.name);
    setDescription(descriptor.name);
    setIndex(descriptor.index);
}

Instance::COREComboUpdater::COREComboUpdater(int elementIndex,
                                             configadaptor::element::ComboBox* combo)
    : util::MessageNode("COREComboUpdater"), index(elementIndex), element(combo) {}

void Instance::COREComboUpdater::update(const std::vector<std::string>& items) {
    element->setItems(items);
    // Open views pick the new entries up when they refresh from the element.
    element->refreshPages();
}

Instance::Instance(Tool* owner, CCamera* codeObject, const std::string& requestedName)
    : InstanceVirtualDevice(requestedName), util::MessageNode("Instance"), tool(owner),
      code(codeObject), properties(new unidevice::PropertyHandler()),
      config(new configadaptor::TreeBuilder()) {
    const std::string name = requestedName.empty() ? tool->name() + "_01" : requestedName;
    if (auto* handler = unidevice::DeviceHandler::existing())
        if (unidevice::Driver* dummy = handler->driver("dummydriver"))
            dummy->addDevice(this);
    code->setInterface(this);
    setDeviceName(LibraryManager::instance()->makeUniqueName(name, this));
    code->setName(getName());
    tool->addInstance(this);
    iconPath = chooseIcon();
}

std::string Instance::chooseIcon() const {
    const std::string base = getInstallPath("data");
    std::string icon = base + "/core/images/treeicons/morvik_accessory_tools.png";
    for (const std::string& category : tool->categories()) {
        if (category == "Vehicle")
            icon = base + "/core/images/treeicons/morvik_vehicle_tools.png";
        else if (category == "Camera")
            icon = base + "/core/images/treeicons/morvik_camera_tools.png";
    }
    return icon;
}

Instance::~Instance() {
    util::Log::instance()->write("Destroying Instance: " + getName(), util::Log::Notice);
    destroying = true;
    // Told before anything of the instance goes: a window showing it may be running a modal
    // binding, tuning or profile prompt and must let go of it first. Its own input window
    // then outlives the running call.
    util::Message gone(util::Message::Destroying);
    broadcastFrom(gone);
    InputConfigDlg::dispose(std::move(inputSettings));
    setAside.clear();
    for (auto it = virtualControls.rbegin(); it != virtualControls.rend(); ++it)
        (*it)->destroy();
    virtualControls.clear();
    if (InstanceReference* owned = reference) {
        reference = nullptr;
        owned->forgetInstance();
        owned->destroy();
    }
    if (code != nullptr) {
        CCamera* released = code;
        code = nullptr;
        released->release();
    }
    detach();
    tool->removeInstance(this);
    for (COREComboUpdater* updater : comboUpdaters)
        updater->destroy();
    delete config;
    properties->destroy();
}

void Instance::destroy() {
    if (destroying)
        return;
    destroying = true;
    delete this;
}

HostAdaptor* Instance::adaptor() const {
    CoreImplementation* core = CoreImplementation::existing();
    return core ? core->getAdaptor() : nullptr;
}

// ---- Device -----------------------------------------------------------------------------------

int32_t Instance::controlCount() const { return static_cast<int32_t>(virtualControls.size()); }

unidevice::Control* Instance::control(int32_t index) const {
    if (index < 0 || index >= controlCount())
        return nullptr;
    return virtualControls[static_cast<size_t>(index)];
}

bool Instance::update(uintptr_t) {
    for (VirtualControl* control : virtualControls)
        if (code != nullptr)
            code->extend(Extension::ComputeVirtualControl, static_cast<CVirtualControl*>(control),
                         0);
    return true;
}

CVirtualControl* Instance::createVirtualControl(const VirtualControlDescriptor& descriptor) {
    if (!registeredAsDevice) {
        registeredAsDevice = true;
        if (deviceIndex < 0)
            deviceIndex = unidevice::DeviceHandler::instance()->deviceCount() - 1;
        attachTo(deviceIndex);
    }
    auto* control = new VirtualControl(this, descriptor);
    virtualControls.push_back(control);
    return control;
}

void Instance::leaveDeviceHandler() {
    if (!registeredAsDevice)
        return;
    if (auto* handler = unidevice::DeviceHandler::existing()) {
        const int32_t index = handler->deviceIndex(this);
        if (index >= 0)
            deviceIndex = index;
    }
    detach();
}

void Instance::discardNodes() {
    std::vector<CoreNode*> nodes = getNodes();
    for (auto node = nodes.rbegin(); node != nodes.rend(); ++node)
        if (*node != nullptr)
            (*node)->deleteNode(true);
}

void Instance::closeInputSettings() {
    if (inputSettings != nullptr && inputSettings->instance() == this &&
        inputSettings->isWindowShown())
        inputSettings->hideWindow();
}

void Instance::rejoinDeviceHandler() {
    if (!registeredAsDevice || handler() != nullptr)
        return;
    auto* devices = unidevice::DeviceHandler::instance();
    const int32_t index = deviceIndex >= 0 ? deviceIndex : devices->deviceCount() - 1;
    attachTo(std::min(index, devices->deviceCount()));
}

// ---- Extensions -------------------------------------------------------------------------------

void* Instance::extend(uint32_t id, void* argument, intptr_t extra) {
    switch (id) {
    case Extension::HostObjectA:
    case Extension::HostObjectB:
        return argument ? static_cast<HostRequest*>(argument)->run(id, this, extra) : nullptr;
    case Extension::CreateVirtualControl:
        if (argument == nullptr)
            return nullptr;
        return createVirtualControl(*static_cast<const VirtualControlDescriptor*>(argument));
    case Extension::DeleteWithNodes:
        deleteInstance(true);
        return nullptr;
    case Extension::ParentInstanceName: {
        InstanceReference* parent = reference ? reference->parentReference() : nullptr;
        if (argument != nullptr && parent != nullptr && !parent->isRoot() && parent->getInstance())
            *static_cast<std::string*>(argument) = parent->getInstance()->getName();
        return nullptr;
    }
    case Extension::DestroyInstance:
        destroy();
        return nullptr;
    case Extension::MasterNode:
        writeMasterNode(static_cast<util::xml::Element*>(argument), extra);
        return nullptr;
    case Extension::AddConfigLabel: {
        if (argument == nullptr)
            return nullptr;
        const auto* label = static_cast<const LabelDescriptor*>(argument);
        addElement(new configadaptor::element::Label(config->takeId(), label->text,
                                                     label->minimumHeight, nullptr));
        return nullptr;
    }
    default:
        util::Log::instance()->write("Interface: Caught unhandled extension",
                                     static_cast<int32_t>(id), util::Log::Notice);
        return nullptr;
    }
}

void Instance::writeMasterNode(util::xml::Element* record, intptr_t extra) {
    if (record == nullptr)
        return;
    *record = SceneTagWriter::masterNodeRecord(*this);
    InstanceReference* parent = reference ? reference->parentReference() : nullptr;
    Instance* parentInstance = parent && !parent->isRoot() ? parent->getInstance() : nullptr;
    if (parentInstance != nullptr && parentInstance->getNodes().empty())
        parentInstance->extend(Extension::MasterNode, record, extra);
}

// ---- Properties and configuration elements ----------------------------------------------------

int32_t Instance::registerUndo(CUndo* record) {
    if (HostAdaptor* host = adaptor()) {
        host->putUndo(record);
        return 0;
    }
    return 1;
}

CProperty* Instance::addProperty(const std::string& name, uint32_t type) {
    return properties->getOrCreate(name, type);
}

CProperty* Instance::getProperty(const std::string& name) { return properties->property(name); }

configadaptor::Node* Instance::getConfigRoot() const { return config->top(); }

int Instance::addElement(configadaptor::Node* element) { return config->add(element); }

bool Instance::setConfigTree(configadaptor::Node* top) {
    if (top == nullptr)
        return false;
    if (config->top() != nullptr) {
        util::destroy(top);
        return false;
    }
    config->add(top);
    return true;
}

unidevice::Property* Instance::exposeAsProperty(int index, const std::string& label) {
    unidevice::Property* property =
        properties->getOrCreate("Spinner: " + label, SpinnerPropertyKinds);
    elementProperties[index] = property;
    return property;
}

int32_t Instance::beginConfig() {
    config->beginConfig();
    return 0;
}

int32_t Instance::beginGroup(const std::string& label, const std::string& tooltip) {
    config->beginGroup(label, tooltip);
    return 0;
}

int32_t Instance::endGroup() {
    config->endGroup();
    return 0;
}

int32_t Instance::addSpinnerInt(const std::string& label, const std::string& tooltip,
                                int32_t* variable, int32_t minimum, int32_t maximum, int32_t step,
                                int32_t triggerLength, bool asProperty, Callback* callback) {
    auto* spinner =
        new configadaptor::element::Spinner_Int(config->takeId(), label, tooltip, variable, minimum,
                                                maximum, step, triggerLength, callback);
    const int index = addElement(spinner);
    if (asProperty)
        exposedSpinners.push_back({nullptr, spinner, exposeAsProperty(index, label)});
    return 0;
}

int32_t Instance::addSpinner(const std::string& label, const std::string& tooltip, double* variable,
                             double minimum, double maximum, double step, int32_t triggerLength,
                             bool asProperty, Callback* callback) {
    auto* spinner =
        new configadaptor::element::Spinner(config->takeId(), label, tooltip, variable, minimum,
                                            maximum, step, triggerLength, callback);
    const int index = addElement(spinner);
    if (asProperty)
        exposedSpinners.push_back({spinner, nullptr, exposeAsProperty(index, label)});
    return 0;
}

int32_t Instance::addCheckBox(const std::string& label, const std::string& tooltip, bool* variable,
                              Callback* callback) {
    addElement(new configadaptor::element::CheckBox(config->takeId(), label, tooltip, variable,
                                                    callback));
    return 0;
}

int32_t Instance::addTextBox(const std::string& label, const std::string& tooltip,
                             std::string* variable, Callback* callback) {
    addElement(new configadaptor::element::TextBox(config->takeId(), label, tooltip, variable,
                                                   callback));
    return 0;
}

CInterface::ComboUpdater* Instance::addComboBox(const std::string& label,
                                                const std::string& tooltip,
                                                std::string* variable,
                                                std::vector<std::string>& items,
                                                Callback* callback) {
    auto* combo = new configadaptor::element::ComboBox(config->takeId(), label, tooltip, variable,
                                                       std::move(items), callback);
    items.clear();
    const int index = addElement(combo);
    auto* updater = new COREComboUpdater(index, combo);
    comboUpdaters.push_back(updater);
    return updater;
}

int32_t Instance::addButton(const std::string& label, const std::string& tooltip,
                            Callback* callback) {
    addElement(new configadaptor::element::Button(config->takeId(), label, tooltip, callback));
    return 0;
}

int32_t Instance::endConfig() {
    if (configadaptor::Node* root = config->top())
        root->refreshPages();
    return 0;
}

int32_t Instance::showInputSettings() {
    if (inputSettings == nullptr)
        inputSettings = std::make_unique<InputConfigDlg>();
    if (inputSettings->instance() == this && inputSettings->isWindowShown()) {
        inputSettings->bringToFront();
        return 0;
    }
    inputSettings->open(this);
    return 0;
}

std::string Instance::getDataPath() { return tool->dataFolder(); }

// ---- Save data ---------------------------------------------------------------------------------

int32_t Instance::setSaveData(const void* bytes, uint32_t length) {
    const auto* begin = static_cast<const uint8_t*>(bytes);
    if (begin == nullptr)
        length = 0;
    saveData.assign(begin, begin + length);
    return 0;
}

const void* Instance::getSaveData(uint32_t& length) {
    length = static_cast<uint32_t>(saveData.size());
    return saveData.empty() ? nullptr : saveData.data();
}

int32_t Instance::clearSaveData() {
    saveData.clear();
    saveData.shrink_to_fit();
    return 0;
}

// ---- Host nodes and snapshots -----------------------------------------------------------------

int32_t Instance::destroyNode(CoreNode* node) {
    if (node == nullptr) {
        util::Log::instance()->write("Trying to destroy NULL node", util::Log::Notice);
        return 1;
    }
    node->deleteNode(true);
    return 0;
}

CoreNode* Instance::createNode(const std::string& name) {
    HostAdaptor* host = adaptor();
    return host ? host->createHostNode3(this, name) : nullptr;
}

CoreNode* Instance::createNode2(const std::string& name, int32_t a, int32_t b) {
    HostAdaptor* host = adaptor();
    return host ? host->createHostNode1(this, name, a, b) : nullptr;
}

CoreNode* Instance::createNode3(const std::string& name, int32_t a, int32_t b, int32_t c) {
    HostAdaptor* host = adaptor();
    return host ? host->createHostNode2(this, name, a, b, c) : nullptr;
}

int32_t Instance::freeMesh(CMesh* mesh) {
    if (mesh == nullptr)
        return 1;
    delete[] mesh->vertex;
    delete[] mesh->texcoord;
    delete[] mesh->face;
    delete[] mesh->tface;
    *mesh = CMesh{};
    return 0;
}

namespace {

template <class Snapshot>
Snapshot* takeSnapshot(CoreNode* node, SnapshotKind kind, double time, const char* nullText) {
    if (node == nullptr) {
        util::Log::instance()->write(nullText, util::Log::Notice);
        return nullptr;
    }
    CSnapshot* snapshot = node->getSnapshot(kind, time);
    if (snapshot != nullptr && snapshot->kind() != kind) {
        node->releaseSnapshot(snapshot);
        return nullptr;
    }
    return static_cast<Snapshot*>(snapshot);
}

int32_t giveBack(CSnapshot* snapshot) {
    if (snapshot == nullptr || snapshot->owner == nullptr)
        return 1;
    snapshot->owner->releaseSnapshot(snapshot);
    return 0;
}

} // namespace

CSnapshot_Transform* Instance::getSnapshot(CoreNode* node, double time) {
    return takeSnapshot<CSnapshot_Transform>(node, SnapshotKind::Transform, time,
                                             "Trying to acquire snapshot from NULL node");
}

CSnapshot_Helper* Instance::getHelperSnapshot(CoreNode* node, double time) {
    return takeSnapshot<CSnapshot_Helper>(node, SnapshotKind::Helper, time,
                                          "Trying to acquire helper snapshot from NULL node");
}

CSnapshot_Mesh* Instance::getMeshSnapshot(CoreNode* node, double time) {
    return takeSnapshot<CSnapshot_Mesh>(node, SnapshotKind::Mesh, time,
                                        "Trying to acquire mesh snapshot from NULL node");
}

CSnapshot_Lens* Instance::getLensSnapshot(CoreNode* node, double time) {
    return takeSnapshot<CSnapshot_Lens>(node, SnapshotKind::Lens, time,
                                        "Trying to acquire lens snapshot from NULL node");
}

int32_t Instance::releaseSnapshot(CSnapshot* snapshot) { return giveBack(snapshot); }
int32_t Instance::releaseTransformSnapshot(CSnapshot_Transform* snapshot) { return giveBack(snapshot); }
int32_t Instance::releaseHelperSnapshot(CSnapshot_Helper* snapshot) { return giveBack(snapshot); }
int32_t Instance::releaseMeshSnapshot(CSnapshot_Mesh* snapshot) { return giveBack(snapshot); }
int32_t Instance::releaseLensSnapshot(CSnapshot_Lens* snapshot) { return giveBack(snapshot); }

// ---- Host requests ----------------------------------------------------------------------------

double Instance::getTime() {
    HostAdaptor* host = adaptor();
    return host ? host->getTime() : 0.0;
}

double Instance::getFrameRate() {
    HostAdaptor* host = adaptor();
    return host ? host->getFrameRate() : 0.0;
}

double Instance::getSampleInterval() {
    HostAdaptor* host = adaptor();
    return host ? host->getSampleInterval() : 0.0;
}

int32_t Instance::redrawViews() {
    if (HostAdaptor* host = adaptor())
        host->redrawViews();
    return 0;
}

uint32_t Instance::toolkitFlags(uint32_t style) {
    uint32_t flags = 1;
    switch (style & 0xF) {
    case 1: flags = 48; break;
    case 2: flags = 50; break;
    case 3: flags = 3; break;
    default: break;
    }
    switch (style & 0xFFF0) {
    case 16: flags |= 0x20000; break;
    case 32: flags |= 0x100000; break;
    case 48: flags |= 0x80000; break;
    default: break;
    }
    return flags;
}

int32_t Instance::styleAnswer(int32_t button) {
    switch (button) {
    case 1: return 0;
    case 16: return 2;
    case 32: return 3;
    default: return 1;
    }
}

int32_t Instance::messageBox(const std::string& text, const std::string& title, uint32_t style) {
    return styleAnswer(gui::messageBox(nullptr, text, title, toolkitFlags(style), false));
}

// ---- Naming and nodes -------------------------------------------------------------------------

std::vector<CoreNode*> Instance::getNodes() {
    NodeList nodes;
    if (HostAdaptor* host = adaptor()) {
        util::ReturnValue<NodeList> holder(nodes);
        host->getInstanceNodes(this, holder);
    }
    return nodes;
}

void Instance::rename(const std::string& requested) {
    const std::string oldName = getName();
    const std::string newName = LibraryManager::instance()->makeUniqueName(requested, this);
    setDeviceName(newName);
    if (code != nullptr)
        code->setName(newName);
    for (CoreNode* node : getNodes()) {
        std::string suffix = node->getName();
        if (suffix.rfind(oldName + "_", 0) == 0)
            suffix = suffix.substr(oldName.size() + 1);
        node->setName(newName + "_" + suffix);
    }
    util::Message renamed(Renamed);
    broadcastFrom(renamed);
}

// ---- Recording --------------------------------------------------------------------------------

// Spinners a take drives through their properties are part of what the take changes: undoing
// the take puts them back where the take found them.
class Instance::ExposedSpinnerUndo : public CUndo {
public:
    ExposedSpinnerUndo(Instance& instance, std::vector<double> before,
                       std::vector<double> earlierStart)
        : instance(&instance), lifetime(instance.lifetime), kept(std::move(before)),
          keptStart(std::move(earlierStart)) {}
    void restore(bool isUndo) override {
        if (isUndo && !undone && exchange())
            undone = true;
    }
    void redo() override {
        if (undone && exchange())
            undone = false;
    }

private:
    bool exchange() {
        if (lifetime.expired())
            return false;
        std::vector<double> present = instance->exposedValues();
        instance->setExposedValues(kept);
        kept = std::move(present);
        std::swap(keptStart, instance->exposedAtTakeStart);
        return true;
    }
    Instance* instance;
    std::weak_ptr<const void> lifetime;
    std::vector<double> kept;
    std::vector<double> keptStart;
    bool undone = false;
};

std::vector<double> Instance::exposedValues() const {
    std::vector<double> values;
    for (const ExposedSpinner& exposed : exposedSpinners) {
        if (exposed.real != nullptr && exposed.real->getVariable() != nullptr)
            values.push_back(*exposed.real->getVariable());
        else if (exposed.integer != nullptr && exposed.integer->getVariable() != nullptr)
            values.push_back(*exposed.integer->getVariable());
        else
            values.push_back(0.0);
    }
    return values;
}

void Instance::setExposedValues(const std::vector<double>& values) {
    for (size_t i = 0; i < exposedSpinners.size() && i < values.size(); ++i) {
        const ExposedSpinner& exposed = exposedSpinners[i];
        if (exposed.real != nullptr && exposed.real->getVariable() != nullptr) {
            *exposed.real->getVariable() = values[i];
            exposed.real->refreshPages();
        } else if (exposed.integer != nullptr && exposed.integer->getVariable() != nullptr) {
            *exposed.integer->getVariable() = static_cast<int32_t>(std::lround(values[i]));
            exposed.integer->refreshPages();
        }
    }
}

void Instance::beginRecording(double startTime, bool resimulating) {
    recordStart = startTime;
    recordStartKnown = true;
    takeRecord = nullptr;
    takeSamples = 0;
    if (resimulating && exposedAtTakeStart.size() == exposedSpinners.size())
        setExposedValues(exposedAtTakeStart);
    if (code != nullptr)
        code->onRecordingBegin();
    if (resimulating) {
        setBindingsAside();
        return;
    }
    priorExposedStart = exposedAtTakeStart;
    exposedAtTakeStart = exposedValues();
    const bool drivesSpinners =
        std::any_of(exposedSpinners.begin(), exposedSpinners.end(),
                    [](const ExposedSpinner& exposed) { return exposed.property->control(); });
    if (drivesSpinners) {
        auto* spinners = new ExposedSpinnerUndo(*this, exposedAtTakeStart, priorExposedStart);
        if (registerUndo(spinners) != 0)
            spinners->release();
    }
    // The record keeps the curves of the previous take, so undoing this one brings them back.
    auto* record = new CVariableModUndo<RecordedValues>(&recordedValues, lifetime);
    recordedValues.assign(static_cast<size_t>(properties->count()), util::AVar_Linear<double>());
    if (registerUndo(record) != 0)
        record->release();
    else
        takeRecord = record;
}

void Instance::recordSample(double time, bool resimulating) {
    ++takeSamples;
    if (resimulating)
        replayInputs(time);
    else
        recordInputs(time);
    advanceExposedSpinners();
    if (code != nullptr)
        code->onSample(time);
}

void Instance::endRecording(double, bool resimulating) {
    if (code != nullptr)
        code->onRecordingEnd();
    if (resimulating)
        putBindingsBack();
    // A take stopped before its first sample (during the countdown, or a record button pressed
    // twice) must not cost the curves of the take before it.
    if (!resimulating && takeSamples == 0) {
        if (takeRecord != nullptr)
            takeRecord->withdraw();
        exposedAtTakeStart = priorExposedStart;
    }
    takeRecord = nullptr;
}

double Instance::getRecordStartTime() {
    if (recordStartKnown)
        return recordStart;
    return getTime();
}

void Instance::recordInputs(double time) {
    // Properties added since the take began get no curve of their own.
    const size_t count = std::min(recordedValues.size(), static_cast<size_t>(properties->count()));
    for (size_t i = 0; i < count; ++i) {
        const unidevice::Control* control =
            properties->property(static_cast<int32_t>(i))->control();
        recordedValues[i].setKey(time, control != nullptr ? control->value() : 0.0);
    }
}

void Instance::replayInputs(double time) {
    // Only the stand-ins are fed: a replay never writes into a real device's controls.
    const size_t count = std::min(recordedValues.size(), setAside.size());
    for (size_t i = 0; i < count; ++i)
        setAside[i]->temporary.feed(recordedValues[i].valueAt(time, setAside[i]->cursor));
}

void Instance::advanceExposedSpinners() {
    for (const ExposedSpinner& exposed : exposedSpinners) {
        const double step = exposed.property->value();
        if (step == 0.0)
            continue;
        // Like a spin box stepped by hand, the value stays within the spinner's limits.
        if (exposed.real != nullptr && exposed.real->getVariable() != nullptr) {
            double& value = *exposed.real->getVariable();
            value = withinLimits(value + step, exposed.real->getMinimum(),
                                 exposed.real->getMaximum());
            exposed.real->refreshPages();
        } else if (exposed.integer != nullptr && exposed.integer->getVariable() != nullptr) {
            int32_t& value = *exposed.integer->getVariable();
            value = static_cast<int32_t>(std::lround(withinLimits(
                value + step, exposed.integer->getMinimum(), exposed.integer->getMaximum())));
            exposed.integer->refreshPages();
        }
    }
}

void Instance::setBindingsAside() {
    putBindingsBack();
    for (int32_t i = 0; i < properties->count(); ++i)
        setAside.push_back(std::make_unique<SetAsideBinding>(properties->property(i)));
}

void Instance::putBindingsBack() {
    for (const auto& binding : setAside)
        binding->putBack();
    setAside.clear();
}

// ---- Deleting ---------------------------------------------------------------------------------

void Instance::deleteInstance(bool withNodes) {
    if (deleting)
        return;
    deleting = true;
    HostAdaptor* host = adaptor();
    if (host != nullptr)
        host->beginHold("Delete plugin instance");
    if (reference != nullptr)
        reference->deleteReference(withNodes);
    deleteNodes(withNodes);
    if (host != nullptr) {
        host->redrawViews();
        host->acceptHold();
    }
    deleting = false;
}

void Instance::deleteNodes(bool withNodes) {
    HostAdaptor* host = adaptor();
    if (host == nullptr)
        return;
    std::vector<CoreNode*> nodes = getNodes();
    // Nodes that other instances own are only unlinked from ours, never deleted with them.
    for (auto node = nodes.rbegin(); node != nodes.rend(); ++node) {
        if (withNodes) {
            for (int i = (*node)->getChildCount() - 1; i >= 0; --i) {
                CoreNode* child = (*node)->getChild(i);
                if (std::find(nodes.begin(), nodes.end(), child) == nodes.end() &&
                    LibraryManager::instance()->ownerOfNode(child) != nullptr)
                    (*node)->unlinkChild(child);
                else
                    child->deleteNode(true);
            }
        }
        (*node)->deleteNode(withNodes);
    }
}

// ---- Profiles ---------------------------------------------------------------------------------

util::xml::Element Instance::makeConfigProfile(const std::string& name) const {
    util::xml::Element profile = config->top() ? config->top()->writeProfile()
                                               : util::xml::Element(util::xml::Tag("configprofile"));
    profile.attribute("version") = "2.0";
    profile.attribute("name") = name;
    return profile;
}

void Instance::applyConfigProfile(const util::xml::Element& profile) {
    if (configadaptor::Node* root = config->top())
        root->readProfile(profile);
    if (profile.hasAttribute("name"))
        configProfileName = profile.attribute("name");
    if (!profile.hasAttribute("converted"))
        return;
    gui::messageBox(nullptr,
                    "This profile has been saved in an older version of " + tool->name() +
                        ". Some old settings might not work well in the current version. Use it "
                        "with caution.",
                    "Morvik Quorvane", 1, false);
}

util::xml::Element Instance::makeInputProfile(const std::string& name) const {
    util::xml::Element profile = util::xml::Tag("profile");
    profile.attribute("name") = name;
    for (int32_t i = 0; i < properties->count(); ++i) {
        const unidevice::Property* property = properties->property(i);
        util::xml::Element& entry = profile.addChild(property->toXML());
        if (property->control() != nullptr)
            entry.addChild(property->control()->toXML());
        else if (!property->binding().isEmpty())
            entry.addChild(property->binding());
    }
    return profile;
}

int32_t Instance::applyInputProfile(const util::xml::Element& element) {
    if (element.name() != "inputprofile" && element.name() != "profile")
        return NotAnInputProfile;
    const util::xml::Element& first = element.child("profile", 0);
    const util::xml::Element& profile = first.isEmpty() ? element : first;
    // Binding leaves the stored element alone: a profile replaces both.
    for (int32_t i = 0; i < properties->count(); ++i) {
        properties->property(i)->bind(nullptr);
        properties->property(i)->setBinding(util::xml::Element());
    }
    if (profile.hasAttribute("name"))
        inputProfileName = profile.attribute("name");
    int32_t missing = 0;
    auto* devices = unidevice::DeviceHandler::instance();
    profile.forEachChild("property", [&](const util::xml::Element& entry) {
        unidevice::Property* property = properties->property(entry.attribute("name"));
        if (property == nullptr)
            return;
        property->loadSettings(entry);
        const util::xml::Element& binding = entry.child("control", 0);
        if (binding.isEmpty())
            return;
        // Kept also when the control is found, so the control can be found again after its
        // device has gone and come back.
        property->setBinding(binding);
        if (unidevice::Control* control = devices->findControl(binding))
            property->bind(control);
        else
            ++missing;
    });
    util::Message notice(InputProfileApplied);
    broadcastFrom(notice);
    return missing;
}

} // namespace mvk::qvn::core
