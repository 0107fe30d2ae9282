#include "core/plugins/TemplatePlugin.h"

#include "core/Paths.h"
#include "core/configadaptor/ProfileFormat.h"
#include "core/instances/Instance.h"
#include "mathscript/MathScript.h"
#include "sdk/CInterface.h"
#include "sdk/CVirtualControl.h"
#include "util/Log.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <memory>

namespace mvk::qvn::core::plugins {

using configadaptor::ProfileFormat;
using util::xml::Element;
using util::xml::Tag;
using util::xml::TagWithData;

namespace {

// Announces the template's "logic" child; the interface's extension list has no name for it.
constexpr uint32_t SetUpTemplateLogic = 42;

// An attribute of a configuration item read as a number; `fallback` when absent or unreadable.
template <class T> T numberAttribute(const Element& item, const char* name, T fallback) {
    const std::string text = item.attribute(name);
    T value{};
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() ? value : fallback;
}

void addTypeChildren(Element& target, uint32_t type) {
    if (type & TemplateLogic::Binary)
        target.addChild(Tag("binary"));
    if (type & TemplateLogic::Trinary)
        target.addChild(Tag("trinary"));
    if (type & TemplateLogic::Finite)
        target.addChild(Tag("finite"));
    if (type & TemplateLogic::Infinite)
        target.addChild(Tag("infinite"));
}

} // namespace

// ---- The plug-in --------------------------------------------------------------------------------

TemplatePlugin* TemplatePlugin::get(const std::string& name) {
    static std::map<std::string, std::unique_ptr<TemplatePlugin>> plugins;
    auto& slot = plugins[name];
    if (!slot)
        slot.reset(new TemplatePlugin(name));
    return slot.get();
}

CCamera* TemplatePlugin::createCamera(const CCamera::CreateParam& param) {
    return new Code(param);
}

// ---- The per-instance code ----------------------------------------------------------------------

TemplatePlugin::Code::Code(const CreateParam& param)
    : CCamera(param), util::MessageNode("TemplatePlugin::Code") {
    extensions = {Extension::ComputeVirtualControl, SetUpTemplateLogic,
                  Extension::WriteCustomData,       Extension::ReadCustomData,
                  Extension::PLUGIN_SELECT_OBJECT,  Extension::PLUGIN_SELECT_NODES_FOR_MOVE};
}

TemplatePlugin::Code::~Code() {
    for (ControlLogic& entry : controls)
        util::destroy(entry.script);
}

void* TemplatePlugin::Code::extend(uint32_t id, void* argument, intptr_t) {
    util::Log* log = util::Log::instance();
    switch (id) {
    case Extension::ComputeVirtualControl:
        if (argument != nullptr)
            compute(static_cast<CVirtualControl*>(argument));
        break;
    case SetUpTemplateLogic:
        if (!templateContent.child("logic").isEmpty())
            log->write("Setting up template logic", util::Log::Notice);
        break;
    case Extension::WriteCustomData:
        if (argument != nullptr)
            writeLogic(*static_cast<Element*>(argument));
        break;
    case Extension::ReadCustomData:
        if (argument != nullptr)
            templateContent = *static_cast<const Element*>(argument);
        break;
    case Extension::PLUGIN_SELECT_OBJECT:
        log->write("TemplatePlugin - PLUGIN_SELECT_OBJECT - Not implemented", util::Log::Notice);
        break;
    case Extension::PLUGIN_SELECT_NODES_FOR_MOVE:
        log->write("TemplatePlugin - PLUGIN_SELECT_NODES_FOR_MOVE - Not implemented",
                   util::Log::Notice);
        break;
    default:
        break;
    }
    return nullptr;
}

int32_t TemplatePlugin::Code::initialize() {
    setTreeIcon();
    logic = TemplateLogic::read(templateContent);
    buildMode = logic.buildMode;
    if (getInterface() == nullptr)
        return 0;
    addProperties();
    buildConfig();
    for (const TemplateLogic::ControlSpec& spec : logic.controls)
        addVirtualControl(spec);
    initialized = true;
    return 0;
}

// The interface has no call for the tree icon; this code is built into the core and so may
// reach the instance itself.
void TemplatePlugin::Code::setTreeIcon() {
    if (auto* instance = dynamic_cast<Instance*>(getInterface()))
        instance->setIconPath(getInstallPath("data") + "/core/images/treeicons/template.png");
}

void TemplatePlugin::Code::addProperties() {
    for (const TemplateLogic::PropertySpec& property : logic.properties)
        getInterface()->addProperty(property.name, property.type);
}

// Template tools get configuration elements like coded tools, so they have preference pages and
// configuration profiles too: a "config" child of the logic, in the configuration profile
// format, describes them (TemplateLogic::itemKind says which element an item makes). The
// elements are made after the input properties, so spinners shown as properties come last.
void TemplatePlugin::Code::buildConfig() {
    const std::vector<TemplateLogic::ConfigSpec> elements = logic.configElements();
    if (elements.empty())
        return;
    CInterface* core = getInterface();
    core->beginConfig();
    for (const TemplateLogic::ConfigSpec& spec : elements) {
        if (spec.kind == TemplateLogic::ConfigSpec::Kind::BeginGroup)
            core->beginGroup(spec.item->attribute("label"), spec.item->attribute("tooltip"));
        else if (spec.kind == TemplateLogic::ConfigSpec::Kind::EndGroup)
            core->endGroup();
        else
            addConfigItem(spec);
    }
    core->endConfig();
}

void TemplatePlugin::Code::addConfigItem(const TemplateLogic::ConfigSpec& spec) {
    using Kind = TemplateLogic::ConfigSpec::Kind;
    CInterface* core = getInterface();
    const Element& item = *spec.item;
    const std::string label = item.attribute("label");
    const std::string tooltip = item.attribute("tooltip");
    const bool asProperty = TemplateLogic::showsAsProperty(item);
    const int32_t trigger = numberAttribute<int32_t>(item, "trigger", 0);
    ConfigValue& value = configValues.emplace_back();
    switch (spec.kind) {
    case Kind::Spinner:
        ProfileFormat::readDouble(item, value.real);
        core->addSpinner(label, tooltip, &value.real, numberAttribute(item, "min", -1.0e6),
                         numberAttribute(item, "max", 1.0e6), numberAttribute(item, "step", 0.1),
                         trigger, asProperty, nullptr);
        spinners.push_back({&value.real, nullptr});
        break;
    case Kind::SpinnerInt:
        ProfileFormat::readInteger(item, value.integer);
        core->addSpinnerInt(
            label, tooltip, &value.integer, numberAttribute<int32_t>(item, "min", -1000000),
            numberAttribute<int32_t>(item, "max", 1000000),
            numberAttribute<int32_t>(item, "step", 1), trigger, asProperty, nullptr);
        spinners.push_back({nullptr, &value.integer});
        break;
    case Kind::CheckBox:
        ProfileFormat::readFlag(item, value.flag);
        core->addCheckBox(label, tooltip, &value.flag, nullptr);
        break;
    default:
        ProfileFormat::readText(item, value.text);
        core->addTextBox(label, tooltip, &value.text, nullptr);
        break;
    }
}

void TemplatePlugin::Code::addVirtualControl(const TemplateLogic::ControlSpec& spec) {
    VirtualControlDescriptor descriptor{spec.name, spec.index, spec.type};
    auto* control = static_cast<CVirtualControl*>(
        getInterface()->extend(Extension::CreateVirtualControl, &descriptor, 0));
    ControlLogic& entry = controls.emplace_back();
    entry.control = control;
    if (control == nullptr)
        return;
    // A script that names no known expression, or none at all, leaves the control unchanged.
    if (spec.script.type() == Element::KindTag)
        entry.script = MathScript::instance()->create(spec.script);
    for (const TemplateLogic::ParameterSpec& parameter : spec.parameterList)
        entry.parameters.push_back(bindParameter(parameter));
}

// Our reading of a "spinner" parameter: the number selects a spinner of the instance's
// configuration, counting the spinners (real and integer) in the order they were made from 0,
// and the parameter takes that spinner's present value at every update, so a spinner changed
// on a preference page, by a profile or through its property shows at the next poll. A number
// that selects no spinner leaves the parameter as it was.
TemplatePlugin::Code::Parameter
TemplatePlugin::Code::bindParameter(const TemplateLogic::ParameterSpec& spec) {
    using Source = TemplateLogic::ParameterSpec::Source;
    Parameter parameter;
    if (spec.source == Source::Spinner && spec.spinner >= 0 &&
        static_cast<size_t>(spec.spinner) < spinners.size()) {
        parameter.real = spinners[static_cast<size_t>(spec.spinner)].real;
        parameter.integer = spinners[static_cast<size_t>(spec.spinner)].integer;
    } else if (spec.source == Source::Property) {
        parameter.fromProperty = true;
        parameter.propertyName = spec.property;
        parameter.property = getInterface()->getProperty(spec.property);
    }
    return parameter;
}

TemplatePlugin::Code::ControlLogic* TemplatePlugin::Code::logicOf(const CVirtualControl* control) {
    if (control == nullptr)
        return nullptr;
    if (nextControl >= controls.size() || controls[nextControl].control != control) {
        const auto found =
            std::find_if(controls.begin(), controls.end(),
                         [control](const ControlLogic& entry) { return entry.control == control; });
        if (found == controls.end())
            return nullptr;
        nextControl = static_cast<size_t>(found - controls.begin());
    }
    return &controls[nextControl++];
}

void TemplatePlugin::Code::compute(CVirtualControl* control) {
    ControlLogic* found = logicOf(control);
    if (found == nullptr || found->script == nullptr)
        return;
    ControlLogic& entry = *found;
    MathScript* script = entry.script;
    for (size_t i = 0; i < entry.parameters.size(); ++i) {
        Parameter& parameter = entry.parameters[i];
        const int index = static_cast<int>(i);
        if (parameter.real != nullptr) {
            script->setParameter(index, *parameter.real);
        } else if (parameter.integer != nullptr) {
            script->setParameter(index, *parameter.integer);
        } else if (parameter.fromProperty) {
            if (parameter.property == nullptr)
                parameter.property = getInterface()->getProperty(parameter.propertyName);
            if (parameter.property != nullptr)
                script->setParameter(index, parameter.property->value());
        }
    }
    control->setValue(script->evaluate());
}

// ---- Writing the logic back ---------------------------------------------------------------------

void TemplatePlugin::Code::writeLogic(Element& target) const {
    const TemplateLogic present =
        initialized ? TemplateLogic() : TemplateLogic::read(templateContent);
    const TemplateLogic& state = initialized ? logic : present;
    if (buildMode || state.buildMode)
        target.addChild(Tag("buildmode"));
    Element& input = target.addChild(Tag("input"));
    for (const TemplateLogic::PropertySpec& property : state.properties) {
        Element& entry = input.addChild(Tag("property"));
        entry.addChild(TagWithData("name", property.name));
        addTypeChildren(entry, property.type);
    }
    Element& device = target.addChild(Tag("virtualdevice"));
    for (size_t i = 0; i < state.controls.size(); ++i) {
        const MathScript* script = initialized ? controls[i].script : nullptr;
        device.addChild(writeControl(state.controls[i], script));
    }
    for (const std::string& category : state.categories)
        target.addChild(TagWithData("category", category));
    target.addChild(TagWithData("datapath", state.dataPath));
    // The configuration goes back exactly as it came; the values live in the profiles.
    if (!state.config.isEmpty())
        target.addChild(state.config);
}

Element TemplatePlugin::Code::writeControl(const TemplateLogic::ControlSpec& spec,
                                           const MathScript* built) const {
    Element element = Tag("control");
    element.addChild(TagWithData("name", spec.name));
    element.addChild(TagWithData("index", std::to_string(spec.index)));
    addTypeChildren(element, spec.type);
    Element& script = element.addChild(Tag("script"));
    if (built != nullptr)
        script.addChild(built->toXML());
    else
        // A script that did not build is kept as written, so a later version that knows its
        // expressions still finds it.
        script.addChild(spec.script);
    Element parameters = spec.parameters;
    if (parameters.isEmpty())
        parameters = Tag("parameters");
    element.addChild(std::move(parameters));
    return element;
}

} // namespace mvk::qvn::core::plugins
