#include "mathscript/Parameter.h"

#include <cstddef>
#include <string>

namespace MathScript_Default {

MathScript* Parameter::Factory::build(const mvk::util::xml::Element& element) {
    return new Parameter(readInt32(element));
}

double Parameter::evaluateWith(const Parameters& parameters) const {
    if (parameterIndex < 0 || static_cast<std::size_t>(parameterIndex) >= parameters.size())
        return 0.0;
    return parameters[static_cast<std::size_t>(parameterIndex)];
}

mvk::util::xml::Element Parameter::ownXML() const {
    return mvk::util::xml::TagWithData("parameter", std::to_string(parameterIndex));
}

} // namespace MathScript_Default
