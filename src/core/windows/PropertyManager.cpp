#include "core/windows/PropertyManager.h"

#include "core/instances/Instance.h"
#include "core/windows/AdvancedSettingsDialog.h"
#include "core/windows/BindingDialog.h"
#include "core/windows/BindingText.h"
#include "core/windows/ControlDetector.h"
#include "core/windows/WindowBase.h"
#include "gui/Component.h"
#include "gui/componentinterface/Label.h"
#include "unidevice/Control.h"
#include "unidevice/Property.h"
#include "unidevice/PropertyHandler.h"
#include "util/Message.h"

#include <utility>

namespace mvk::qvn::core {

using util::xml::Element;
using Manager = InputConfigDlg::PropertyManager;

namespace {

constexpr int32_t Clicked = 0x4142;

// Gives the row's parts the ids of input `index`.
void numberRow(Element& element, int32_t index) {
    const std::string id = std::as_const(element).attribute("id");
    if (id.size() == 1 && id[0] >= '0' + Manager::IconPart && id[0] <= '0' + Manager::AdvancedPart)
        element.attribute("id") =
            std::to_string(Manager::RowBase + Manager::RowStride * index + (id[0] - '0'));
    for (int i = 0; i < element.childCount(); ++i)
        numberRow(element.child(i), index);
}

// What binding the input takes, in the words of the prompt: a single button cannot drive an
// input that turns both ways, so such an input asks for one key per direction.
std::string bindHint(uint32_t accepted) {
    using namespace unidevice::ControlKind;
    if ((accepted & Binary) != 0)
        return "Bind a key, a button or an axis to this input";
    if ((accepted & (Trinary | Finite | Infinite)) != 0)
        return "Bind an axis, or two keys: the first turns it one way, the second the other";
    return "Bind a control to this input";
}

} // namespace

Manager::PropertyManager(Instance& instance)
    : MessageNode("InputConfigDlg::PropertyManager"), shown(&instance),
      binding(std::make_unique<BindingDialog>()),
      advanced(std::make_unique<AdvancedSettingsDialog>()) {}

Manager::~PropertyManager() = default;

Element Manager::layout() const {
    Element layout;
    if (shown == nullptr ||
        layout.load(WindowBase::layoutPath("qvn_inputs_propertymanager.xml")) != Element::Parsed)
        return {};
    Element* rows = WindowBase::elementById(layout, Rows);
    if (rows == nullptr || rows->childCount() == 0)
        return {};
    // Rows follow the instance's own inputs, so the list is laid out for one instance only.
    const Element row = rows->takeChild(0);
    const int32_t count = shown->getProperties()->count();
    for (int32_t i = 0; i < count; ++i) {
        Element copy = row;
        numberRow(copy, i);
        rows->addChild(std::move(copy));
    }
    return layout;
}

bool Manager::attach(gui::Component* list) {
    if (list == nullptr || shown == nullptr)
        return false;
    if (root != nullptr)
        unsubscribe(root);
    root = list;
    // The window destroys the list with itself; the manager hears of it and lets go.
    subscribe(root);
    listenToRows();
    fillRows();
    return true;
}

void Manager::listenToRows() {
    const int32_t count = shown->getProperties()->count();
    for (int32_t i = 0; i < count; ++i)
        for (int32_t part : {BindPart, AdvancedPart})
            if (gui::Component* button = find(RowBase + RowStride * i + part))
                subscribe(button);
}

gui::Component* Manager::find(int32_t id) const {
    return root != nullptr ? root->findById(id) : nullptr;
}

void Manager::fillRows() {
    if (shown == nullptr || root == nullptr)
        return;
    const unidevice::PropertyHandler* properties = shown->getProperties();
    for (int32_t i = 0; i < properties->count(); ++i) {
        const unidevice::Property* property = properties->property(i);
        const int32_t base = RowBase + RowStride * i;
        const std::string text = BindingText::of(*property);
        if (gui::Component* name = find(base + NamePart))
            name->setLabel(property->name());
        // A long description (an emulated pair of keys, an OSC address) is cut off by the
        // column; the tooltip shows it whole.
        if (gui::Component* bindingText = find(base + BindingPart)) {
            bindingText->setLabel(text);
            bindingText->setTooltip(property->control() != nullptr ? text : std::string());
        }
        if (gui::Component* bind = find(base + BindPart))
            bind->setTooltip(bindHint(property->accepted()));
        auto* icon = gui::interfaceOf<gui::componentinterface::Label>(find(base + IconPart));
        // The icon says which device drives the input, whatever its description reads like.
        const std::string file = BindingText::controlIcon(property->control());
        if (icon != nullptr)
            icon->setImage(file.empty() ? std::string() : "[images]/" + file);
    }
}

void Manager::handleMessage(util::Message& message, bool) {
    if (message.sender == nullptr)
        return;
    if (message.id == util::Message::Destroying) {
        if (root != nullptr && message.sender == static_cast<util::MessageNode*>(root))
            root = nullptr;
        return;
    }
    const auto* component = dynamic_cast<const gui::Component*>(message.sender);
    if (message.id == Clicked && component != nullptr)
        onClicked(component->getId());
}

void Manager::onClicked(int32_t id) {
    if (shown == nullptr || busy || id < RowBase)
        return;
    const int32_t row = (id - RowBase) / RowStride;
    const int32_t part = (id - RowBase) % RowStride;
    if (part == BindPart)
        detect(row);
    else if (part == AdvancedPart)
        tune(row);
}

void Manager::detect(int32_t row) {
    unidevice::Property* property = shown->getProperties()->property(row);
    if (property == nullptr)
        return;
    busy = true;
    detection = std::make_unique<ControlDetector>(property);
    const bool bound = binding->run(*detection);
    // Closed by its title bar as well as by its buttons: nothing may keep polling.
    detection.reset();
    busy = false;
    // The instance may have gone while the window was up.
    if (shown == nullptr)
        return;
    fillRows();
    if (!bound)
        return;
    util::Message changed(BindingChanged, row);
    broadcast(changed);
}

void Manager::tune(int32_t row) {
    unidevice::Property* property = shown->getProperties()->property(row);
    if (property == nullptr)
        return;
    busy = true;
    advanced->run(property, shown->getName());
    busy = false;
}

void Manager::forgetInstance() {
    shown = nullptr;
    if (detection != nullptr)
        detection->cancel();
    // Hiding a window ends its modal run; neither may go on with the instance's inputs.
    binding->hideWindow();
    advanced->abandon();
}

} // namespace mvk::qvn::core
