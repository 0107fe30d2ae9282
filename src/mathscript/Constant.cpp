#include "mathscript/Constant.h"

#include <locale>
#include <sstream>

namespace MathScript_Default {

MathScript* Constant::Factory::build(const mvk::util::xml::Element& element) {
    return new Constant(readDouble(element));
}

double Constant::evaluateWith(const Parameters&) const {
    return number;
}

// Default stream formatting keeps six significant digits, so a written script is not always
// bit-exact; the classic locale keeps the decimal point a point whatever the process locale.
mvk::util::xml::Element Constant::ownXML() const {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << number;
    return mvk::util::xml::TagWithData("constant", out.str());
}

} // namespace MathScript_Default
