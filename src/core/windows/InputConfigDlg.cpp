#include "core/windows/InputConfigDlg.h"

#include "core/instances/Instance.h"
#include "core/libraries/InputProfileManager.h"
#include "core/libraries/Tool.h"
#include "core/windows/BindingText.h"
#include "core/windows/InputProfileCommands.h"
#include "core/windows/PropertyManager.h"
#include "gui/Component.h"
#include "gui/componentinterface/ComboBox.h"
#include "gui/componentinterface/ListBox.h"
#include "unidevice/Device.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/EmulatedTrinaryDevice.h"
#include "util/Message.h"
#include "util/xml/Element.h"

#include <QCoreApplication>
#include <QTimer>

#include <array>

namespace mvk::qvn::core {

namespace {

constexpr int32_t Clicked = 0x4142;
constexpr std::array<int32_t, 9> Buttons{
    InputConfigDlg::CloseButton,       InputConfigDlg::LoadButton,
    InputConfigDlg::SaveButton,        InputConfigDlg::SaveAsNewButton,
    InputConfigDlg::RenameButton,      InputConfigDlg::DeleteButton,
    InputConfigDlg::ImportButton,      InputConfigDlg::ExportButton,
    InputConfigDlg::StartProfileButton};

} // namespace

InputConfigDlg::InputConfigDlg() : WindowBase("InputConfigDlg") {}

InputConfigDlg::~InputConfigDlg() {
    forgetInstance();
}

bool InputConfigDlg::isRunningModal() const {
    return commandsRunning > 0 || (properties != nullptr && properties->isBusy());
}

void InputConfigDlg::dispose(std::unique_ptr<InputConfigDlg> window) {
    if (window == nullptr)
        return;
    QCoreApplication* application = QCoreApplication::instance();
    if (!window->isRunningModal() || application == nullptr)
        return;
    window->hideWindow();
    InputConfigDlg* later = window.release();
    QTimer::singleShot(0, application, [later] { delete later; });
}

bool InputConfigDlg::open(Instance* instance) {
    // A binding or tuning window runs inside the property list's own call; the list must
    // outlive it.
    if (properties != nullptr && properties->isBusy())
        return false;
    forgetInstance();
    if (instance == nullptr)
        return false;
    shown = instance;
    if (!build()) {
        forgetInstance();
        destroyRoot();
        return false;
    }
    subscribe(instance);
    commands = std::make_unique<InputProfileCommands>(
        *instance, instance->getTool()->inputProfilesOf(*instance), getRoot()->getWidget());
    getRoot()->setLabel("Inputs for " + instance->getName());
    refresh();
    getRoot()->show();
    return true;
}

// The property list is a part of its own: the PropertyManager lays it out from its layout file
// and the list is placed into this window's layout at PropertyArea before the window is built,
// so it takes its place in the window's sizes and keyboard order like any other part. The
// manager then fills the rows, runs the Bind... and Advanced... windows and tells this window
// when a binding changed; the window keeps the device list and the profile commands. The list
// is laid out for one instance's inputs, so the whole window is built anew for each instance.
bool InputConfigDlg::build() {
    util::xml::Element layout;
    if (layout.load(layoutPath("qvn_inputs.xml")) != util::xml::Element::Parsed)
        return false;
    util::xml::Element* area = elementById(layout, PropertyArea);
    auto manager = std::make_unique<PropertyManager>(*shown);
    util::xml::Element list = manager->layout();
    if (area == nullptr || list.isEmpty())
        return false;
    area->addChild(std::move(list));
    if (!buildLayout(layout) || find(PropertyArea) == nullptr ||
        !manager->attach(find(PropertyArea)->child(0)))
        return false;
    properties = std::move(manager);
    subscribe(properties.get());
    for (int32_t id : Buttons)
        listenTo(id);
    return true;
}

void InputConfigDlg::refresh() {
    if (shown == nullptr || getRoot() == nullptr)
        return;
    if (properties != nullptr)
        properties->fillRows();
    fillDevices();
    fillProfiles(shown->getInputProfileName());
}

void InputConfigDlg::fillDevices() {
    auto* list = gui::interfaceOf<gui::componentinterface::ListBox>(find(DeviceList));
    if (list == nullptr)
        return;
    const std::string selected = list->getCurrentText();
    list->clear();
    list->insertItem(NoDeviceEntry, -1);
    const unidevice::DeviceHandler* devices = unidevice::DeviceHandler::instance();
    for (int32_t i = 0; i < devices->deviceCount(); ++i) {
        const unidevice::Device* device = devices->device(i);
        // Tool instances and the two-button emulator are devices too; the list shows only what
        // the user can press or move.
        if (dynamic_cast<const Instance*>(device) != nullptr ||
            device->name() == unidevice::EmulatedTrinaryDevice::DeviceName)
            continue;
        list->insertItem(device->name(), -1);
        list->setItemImage(list->getCount() - 1, "[images]/" + BindingText::deviceIcon(*device));
    }
    // Refilling keeps what the user picked while that device is still there.
    if (!selected.empty() && list->findItem(selected) >= 0)
        list->selectText(selected);
}

void InputConfigDlg::fillProfiles(const std::string& selected) {
    auto* box = gui::interfaceOf<gui::componentinterface::ComboBox>(find(ProfileBox));
    if (box == nullptr)
        return;
    box->clear();
    const XMLFileManager& store = shown->getTool()->inputProfilesOf(*shown);
    for (const std::string& name : store.names())
        if (!store.isReserved(name))
            box->insertItem(name, -1);
    box->setCurrentText(selected);
}

std::string InputConfigDlg::selectedProfile() const {
    auto* box = gui::interfaceOf<gui::componentinterface::ComboBox>(find(ProfileBox));
    return box != nullptr ? box->getCurrentText() : std::string();
}

void InputConfigDlg::setStatus(const std::string& text) {
    if (gui::Component* status = find(StatusLine))
        status->setLabel(text);
}

void InputConfigDlg::handleMessage(util::Message& message, bool) {
    if (message.sender == shown && shown != nullptr) {
        if (message.id == util::Message::Destroying) {
            shown = nullptr;
            // A command waiting in a prompt returns into its own object, which must still be
            // there; it only stops using the instance.
            if (commandsRunning > 0 && commands != nullptr)
                commands->forgetInstance();
            else
                commands.reset();
            if (properties != nullptr)
                properties->forgetInstance();
            hideWindow();
        } else if (message.id == Instance::InputProfileApplied) {
            refresh();
        } else if (message.id == Instance::Renamed && getRoot() != nullptr) {
            getRoot()->setLabel("Inputs for " + shown->getName());
        }
        return;
    }
    if (message.sender == properties.get() && properties != nullptr) {
        // A new binding: the devices may have changed while the user pressed or moved one,
        // and what the last profile command reported no longer holds.
        if (message.id == PropertyManager::BindingChanged && shown != nullptr) {
            fillDevices();
            setStatus({});
        }
        return;
    }
    const auto* component = dynamic_cast<const gui::Component*>(message.sender);
    if (message.id == Clicked && component != nullptr)
        onClicked(component->getId());
}

void InputConfigDlg::onClicked(int32_t id) {
    if (id == CloseButton) {
        hideWindow();
        return;
    }
    if (commands == nullptr)
        return;
    const std::string name = selectedProfile();
    std::string status;
    bool cleared = false;
    ++commandsRunning;
    switch (id) {
    case LoadButton:
        if (const std::optional<int> missing = commands->load(name); missing && *missing > 0)
            status = std::to_string(*missing) + " bound controls were not found";
        break;
    case SaveButton:
        commands->save(name);
        break;
    case SaveAsNewButton:
        commands->saveAsNew();
        break;
    case RenameButton:
        commands->rename(name);
        break;
    case DeleteButton:
        if (commands->remove(name))
            cleared = !loadAfterDelete(name);
        break;
    case ImportButton:
        commands->importProfiles();
        break;
    case ExportButton:
        commands->exportProfile(name);
        break;
    case StartProfileButton:
        commands->saveAsStartProfile();
        status = commands->status();
        break;
    default:
        --commandsRunning;
        return;
    }
    --commandsRunning;
    // The instance went while a prompt or file dialog was up.
    if (shown == nullptr) {
        commands.reset();
        return;
    }
    refresh();
    if (cleared)
        fillProfiles({});
    setStatus(status);
}

// The box then shows a profile of the store, and the instance carries it: an installed profile
// of the deleted name that the user's copy hid, or else the first one. False when none is left;
// the box is then emptied rather than left showing the deleted name as typed text.
bool InputConfigDlg::loadAfterDelete(const std::string& deleted) {
    if (shown == nullptr || commands == nullptr)
        return false;
    const XMLFileManager& store = shown->getTool()->inputProfilesOf(*shown);
    std::string next = store.hasElement(deleted) ? deleted : std::string();
    for (const std::string& name : store.names())
        if (next.empty() && !store.isReserved(name))
            next = name;
    return !next.empty() && commands->load(next).has_value();
}

void InputConfigDlg::forgetInstance() {
    if (shown != nullptr)
        unsubscribe(shown);
    shown = nullptr;
    commands.reset();
    // Takes the list out of the window before the window's tree goes.
    properties.reset();
}

} // namespace mvk::qvn::core
