#include "core/plugins/TemplateLogic.h"

#include "mathscript/ScriptFactory.h"

namespace mvk::qvn::core::plugins {

using util::xml::Element;

namespace {

bool isTag(const Element& element, const char* name) {
    return element.type() == Element::KindTag && element.name() == name;
}

// Numbers in the logic are read like the numbers of scripts: the first child's text with stream
// extraction, 0 when there is none.
int32_t readInteger(const Element& element) {
    return MathScript_Default::ScriptFactory::readInt32(element);
}

TemplateLogic::ParameterSpec readParameter(const Element& entry) {
    TemplateLogic::ParameterSpec parameter;
    if (isTag(entry, "spinner")) {
        parameter.source = TemplateLogic::ParameterSpec::Source::Spinner;
        parameter.spinner = readInteger(entry);
    } else if (isTag(entry, "property")) {
        parameter.source = TemplateLogic::ParameterSpec::Source::Property;
        parameter.property = entry.text();
    }
    return parameter;
}

TemplateLogic::ControlSpec readControl(const Element& control) {
    TemplateLogic::ControlSpec spec;
    spec.type = TemplateLogic::typeBits(control);
    spec.index = readInteger(control.child("index"));
    spec.name = control.child("name").text();
    spec.script = control.child("script").child(0);
    spec.parameters = control.child("parameters");
    // Every child takes a position, whatever it is, so parameter numbers match the list.
    for (int i = 0; i < spec.parameters.childCount(); ++i)
        spec.parameterList.push_back(readParameter(spec.parameters.child(i)));
    return spec;
}

void readProperties(const Element& input, std::vector<TemplateLogic::PropertySpec>& out) {
    for (int i = 0; i < input.childCount(); ++i) {
        const Element& property = input.child(i);
        if (isTag(property, "property"))
            out.push_back({property.child("name").text(), TemplateLogic::typeBits(property)});
    }
}

void flattenConfig(const Element& container, int depth,
                   std::vector<TemplateLogic::ConfigSpec>& out) {
    using Kind = TemplateLogic::ConfigSpec::Kind;
    for (int i = 0; i < container.childCount(); ++i) {
        const Element& entry = container.child(i);
        if (isTag(entry, "item")) {
            out.push_back({TemplateLogic::itemKind(entry), &entry});
        } else if (isTag(entry, "group") && depth < TemplateLogic::MaxConfigDepth) {
            out.push_back({Kind::BeginGroup, &entry});
            flattenConfig(entry, depth + 1, out);
            out.push_back({Kind::EndGroup, &entry});
        }
    }
}

} // namespace

uint32_t TemplateLogic::typeBits(const Element& element) {
    // A type child counts when the look-up finds it, an element with a name or with children.
    uint32_t bits = 0;
    if (!element.child("binary").isEmpty())
        bits |= Binary;
    if (!element.child("trinary").isEmpty())
        bits |= Trinary;
    if (!element.child("finite").isEmpty())
        bits |= Finite;
    if (!element.child("infinite").isEmpty())
        bits |= Infinite;
    return bits;
}

TemplateLogic TemplateLogic::read(const Element& customData) {
    TemplateLogic logic;
    logic.buildMode = !customData.child("buildmode").isEmpty();
    readProperties(customData.child("input"), logic.properties);
    const Element& device = customData.child("virtualdevice");
    for (int i = 0; i < device.childCount(); ++i)
        if (isTag(device.child(i), "control"))
            logic.controls.push_back(readControl(device.child(i)));
    for (int i = 0; i < customData.childCount(); ++i)
        if (isTag(customData.child(i), "category"))
            logic.categories.push_back(customData.child(i).text());
    logic.dataPath = customData.child("datapath").text();
    logic.config = customData.child("config");
    return logic;
}

// Our reading of a "config" child: groups and items as in a configuration profile, each item
// one element. Profile items say little about the element behind them, so an item may name its
// kind ("spinner", "spinner_int", "checkbox", "textbox") in the attribute "kind"; without it an
// item of type "text" is a text box and any other a spinner of real numbers, which is what a
// template's tuning values almost always are.
TemplateLogic::ConfigSpec::Kind TemplateLogic::itemKind(const Element& item) {
    using Kind = ConfigSpec::Kind;
    const std::string kind = item.attribute("kind");
    if (kind == "spinner_int")
        return Kind::SpinnerInt;
    if (kind == "checkbox")
        return Kind::CheckBox;
    if (kind == "textbox" || (kind.empty() && item.attribute("type") == "text"))
        return Kind::TextBox;
    return Kind::Spinner;
}

bool TemplateLogic::showsAsProperty(const Element& item) {
    const std::string text = item.attribute("property");
    return text == "1" || text == "true";
}

std::vector<TemplateLogic::ConfigSpec> TemplateLogic::configElements() const {
    std::vector<ConfigSpec> elements;
    flattenConfig(config, 0, elements);
    return elements;
}

} // namespace mvk::qvn::core::plugins
