#include "mathscript/Sum.h"

namespace MathScript_Default {

MathScript* Sum::Factory::build(const mvk::util::xml::Element& element) {
    auto* node = new Sum();
    for (int i = 0; i < element.childCount(); ++i)
        node->appendOperand(element.child(i));
    return node;
}

double Sum::evaluateWith(const Parameters& parameters) const {
    double total = 0.0;
    const int count = childCount();
    for (int i = 0; i < count; ++i)
        total += child(i)->evaluateWith(parameters);
    return total;
}

mvk::util::xml::Element Sum::ownXML() const {
    return mvk::util::xml::Tag("sum");
}

} // namespace MathScript_Default
