#include "core/windows/InputConfigDlg.h"

#include "core/instances/Instance.h"
#include "core/libraries/InputProfileManager.h"
#include "core/libraries/Tool.h"
#include "core/windows/AdvancedSettingsDialog.h"
#include "core/windows/BindingDialog.h"
#include "core/windows/BindingText.h"
#include "core/windows/InputProfileCommands.h"
#include "gui/Component.h"
#include "gui/componentinterface/ComboBox.h"
#include "gui/componentinterface/Label.h"
#include "gui/componentinterface/ListBox.h"
#include "unidevice/Device.h"
#include "unidevice/DeviceHandler.h"
#include "unidevice/EmulatedTrinaryDevice.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"
#include "util/Message.h"
#include "util/xml/Element.h"

#include <array>

namespace mvk::qvn::core {

using util::xml::Element;

namespace {

constexpr int32_t Clicked = 0x4142;
constexpr std::array<int32_t, 9> Buttons{
    InputConfigDlg::CloseButton,       InputConfigDlg::LoadButton,
    InputConfigDlg::SaveButton,        InputConfigDlg::SaveAsNewButton,
    InputConfigDlg::RenameButton,      InputConfigDlg::DeleteButton,
    InputConfigDlg::ImportButton,      InputConfigDlg::ExportButton,
    InputConfigDlg::StartProfileButton};

// The element with that "id" below `element`, depth first; null when there is none.
Element* findById(Element& element, int32_t id) {
    if (element.attribute("id") == std::to_string(id))
        return &element;
    for (int i = 0; i < element.childCount(); ++i)
        if (Element* found = findById(element.child(i), id))
            return found;
    return nullptr;
}

// Gives the row's parts the ids of input `index`.
void numberRow(Element& element, int32_t index) {
    const std::string id = element.attribute("id");
    if (id.size() == 1 && id[0] >= '1' && id[0] <= '5')
        element.attribute("id") = std::to_string(InputConfigDlg::RowBase +
                                                 InputConfigDlg::RowStride * index + (id[0] - '0'));
    for (int i = 0; i < element.childCount(); ++i)
        numberRow(element.child(i), index);
}

} // namespace

InputConfigDlg::InputConfigDlg()
    : WindowBase("InputConfigDlg"), binding(std::make_unique<BindingDialog>()),
      advanced(std::make_unique<AdvancedSettingsDialog>()) {}

InputConfigDlg::~InputConfigDlg() {
    forgetInstance();
}

bool InputConfigDlg::open(Instance* instance) {
    forgetInstance();
    if (instance == nullptr)
        return false;
    shown = instance;
    // Rows follow the instance's own inputs, so the dialog is built anew for each instance.
    if (!build()) {
        shown = nullptr;
        return false;
    }
    subscribe(instance);
    commands = std::make_unique<InputProfileCommands>(
        *instance, instance->getTool()->inputProfiles(), getRoot()->getWidget());
    getRoot()->setLabel("Inputs for " + instance->getName());
    refresh();
    getRoot()->show();
    return true;
}

bool InputConfigDlg::build() {
    Element layout;
    if (layout.load(layoutPath("qvn_inputs.xml")) != Element::Parsed)
        return false;
    Element* rows = findById(layout, Rows);
    if (rows == nullptr || rows->childCount() == 0)
        return false;
    const Element row = rows->takeChild(0);
    const unidevice::PropertyHandler* properties = shown->getProperties();
    for (int32_t i = 0; i < properties->count(); ++i) {
        Element copy = row;
        numberRow(copy, i);
        rows->addChild(std::move(copy));
    }
    gui::ComponentFactory* factories = gui::ComponentFactory::existing();
    gui::Component* built = factories ? factories->create(layout) : nullptr;
    if (built == nullptr)
        return false;
    built->setPathAlias("[images]", imageFolder());
    adoptRoot(built);
    for (int32_t id : Buttons)
        listenTo(id);
    for (int32_t i = 0; i < properties->count(); ++i) {
        listenTo(RowBase + RowStride * i + BindPart);
        listenTo(RowBase + RowStride * i + AdvancedPart);
    }
    return true;
}

void InputConfigDlg::refresh() {
    if (shown == nullptr || getRoot() == nullptr)
        return;
    fillRows();
    fillDevices();
    fillProfiles(shown->getInputProfileName());
}

void InputConfigDlg::fillRows() {
    const unidevice::PropertyHandler* properties = shown->getProperties();
    for (int32_t i = 0; i < properties->count(); ++i) {
        const unidevice::Property* property = properties->property(i);
        const int32_t base = RowBase + RowStride * i;
        const std::string text = BindingText::of(*property);
        if (gui::Component* name = find(base + NamePart))
            name->setLabel(property->name());
        if (gui::Component* binding = find(base + BindingPart))
            binding->setLabel(text);
        auto* icon = gui::interfaceOf<gui::componentinterface::Label>(find(base + IconPart));
        const std::string file = BindingText::icon(text);
        if (icon != nullptr)
            icon->setImage(file.empty() ? std::string() : "[images]/" + file);
    }
}

void InputConfigDlg::fillDevices() {
    auto* list = gui::interfaceOf<gui::componentinterface::ListBox>(find(DeviceList));
    if (list == nullptr)
        return;
    list->clear();
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
}

void InputConfigDlg::fillProfiles(const std::string& selected) {
    auto* box = gui::interfaceOf<gui::componentinterface::ComboBox>(find(ProfileBox));
    if (box == nullptr)
        return;
    box->clear();
    for (const std::string& name : shown->getTool()->inputProfiles().names())
        if (!shown->getTool()->inputProfiles().isReserved(name))
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
            commands.reset();
            hideWindow();
        } else if (message.id == Instance::InputProfileApplied) {
            refresh();
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
    if (id >= RowBase && (id - RowBase) % RowStride == BindPart) {
        bind((id - RowBase) / RowStride);
        return;
    }
    if (id >= RowBase && (id - RowBase) % RowStride == AdvancedPart) {
        tune((id - RowBase) / RowStride);
        return;
    }
    const std::string name = selectedProfile();
    std::string status;
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
        commands->remove(name);
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
        return;
    }
    refresh();
    setStatus(status);
}

void InputConfigDlg::bind(int32_t row) {
    unidevice::Property* property = shown->getProperties()->property(row);
    if (property == nullptr)
        return;
    binding->run(property);
    // The instance may have gone while the window was up.
    if (shown != nullptr)
        refresh();
}

void InputConfigDlg::tune(int32_t row) {
    unidevice::Property* property = shown->getProperties()->property(row);
    if (property != nullptr)
        advanced->run(property, shown->getName());
}

void InputConfigDlg::forgetInstance() {
    if (shown != nullptr)
        unsubscribe(shown);
    shown = nullptr;
    commands.reset();
}

} // namespace mvk::qvn::core
