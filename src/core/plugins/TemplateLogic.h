#pragma once
// What a template file says about a tool without code, read from the "customdata" element of
// its tool tag: the input properties, the configuration, the virtual controls with their
// scripts and parameters, the categories and the data folder. Reading never fails; whatever is
// missing reads as empty. The template code and the template authoring tool share it.
#include "util/xml/Element.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mvk::qvn::core::plugins {

struct TemplateLogic {
    // Type bits of properties and of virtual controls.
    static constexpr uint32_t Binary = 1;
    static constexpr uint32_t Trinary = 2;
    static constexpr uint32_t Finite = 4;
    static constexpr uint32_t Infinite = 8;

    struct PropertySpec {
        std::string name;
        uint32_t type = 0;
    };

    // One position of a script's parameter list.
    struct ParameterSpec {
        enum class Source { Spinner, Property, Nothing };
        Source source = Source::Nothing;
        int32_t spinner = 0;  // Spinner: which spinner of the configuration
        std::string property; // Property: the property's name
    };

    struct ControlSpec {
        std::string name;
        int32_t index = 0;
        uint32_t type = 0;
        util::xml::Element script;     // the root of the expression, or empty
        util::xml::Element parameters; // the "parameters" element as written
        std::vector<ParameterSpec> parameterList;
    };

    // The configuration elements of a "config" child, flattened in creation order.
    struct ConfigSpec {
        enum class Kind { BeginGroup, EndGroup, Spinner, SpinnerInt, CheckBox, TextBox };
        Kind kind = Kind::Spinner;
        const util::xml::Element* item = nullptr; // points into `config`
    };

    bool buildMode = false;
    std::vector<PropertySpec> properties;
    std::vector<ControlSpec> controls;
    std::vector<std::string> categories;
    std::string dataPath;
    util::xml::Element config; // the "config" child as written, or empty

    // Groups of the configuration nest at most this deep; deeper ones are left out.
    static constexpr int MaxConfigDepth = 32;

    static TemplateLogic read(const util::xml::Element& customData);
    // The type bits from the "binary", "trinary", "finite" and "infinite" children present.
    static uint32_t typeBits(const util::xml::Element& element);
    // The configuration elements of `config` in creation order (groups opened and closed).
    std::vector<ConfigSpec> configElements() const;
    // The kind of configuration element an item of the profile format makes.
    static ConfigSpec::Kind itemKind(const util::xml::Element& item);
    // True when the item's spinner is also offered as an input property ("property" = "1").
    static bool showsAsProperty(const util::xml::Element& item);
};

} // namespace mvk::qvn::core::plugins
