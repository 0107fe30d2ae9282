#include "mathscript/Zero.h"

namespace MathScript_Default {

MathScript* Zero::Factory::build(const mvk::util::xml::Element&) {
    return new Zero();
}

double Zero::evaluateWith(const Parameters&) const {
    return 0.0;
}

mvk::util::xml::Element Zero::ownXML() const {
    return mvk::util::xml::Tag("zero");
}

} // namespace MathScript_Default
