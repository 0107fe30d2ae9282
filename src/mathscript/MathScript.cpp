#include "mathscript/MathScript.h"

#include <cstddef>

using mvk::util::xml::Element;

void MathScript::destroy() { delete this; }

MathScript::~MathScript() = default;

double MathScript::evaluate() const { return evaluateWith(root().parameters); }

void MathScript::setParameter(int index, double value) {
    if (index < 0)
        return;
    Parameters& values = root().parameters;
    const auto position = static_cast<std::size_t>(index);
    if (position >= values.size())
        values.resize(position + 1, 0.0);
    values[position] = value;
}

double MathScript::parameter(int index) const {
    const Parameters& values = root().parameters;
    if (index < 0 || static_cast<std::size_t>(index) >= values.size())
        return 0.0;
    return values[static_cast<std::size_t>(index)];
}

int MathScript::parameterCount() const { return static_cast<int>(root().parameters.size()); }

bool MathScript::appendOperand(const Element& element) {
    if (element.type() != Element::KindTag)
        return false;
    MathScript* operand = instance()->create(element);
    if (operand == nullptr)
        return false;
    addChild(operand);
    return true;
}

Element MathScript::operandXML(int index) const {
    const MathScript* operand = child(index);
    return operand != nullptr ? operand->toXML() : mvk::util::xml::Tag("zero");
}

const MathScript& MathScript::root() const {
    const MathScript* node = this;
    while (node->parent() != nullptr)
        node = node->parent();
    return *node;
}

MathScript& MathScript::root() {
    MathScript* node = this;
    while (node->parent() != nullptr)
        node = node->parent();
    return *node;
}
