#include "mathscript/MathScript.h"

#include <cstddef>

using mvk::util::xml::Element;

void MathScript::destroy() {
    delete this;
}

// Leaves the parent and takes the children out one by one through removeChild() before they
// are destroyed, last first, so the hooks of the parent and of this node see every change.
MathScript::~MathScript() {
    if (MathScript* owner = parent())
        owner->removeChild(this);
    while (MathScript* last = child(childCount() - 1)) {
        removeChild(last);
        last->destroy();
    }
}

void MathScript::onChildInserted(MathScript*, int) {
    updateOperands();
}

void MathScript::onChildRemoved(MathScript*, int) {
    updateOperands();
}

void MathScript::updateOperands() {
    const MathScript* first = child(0);
    const MathScript* second = child(1);
    firstOperand = first != nullptr ? first->asOperand() : Operand{};
    secondOperand = second != nullptr ? second->asOperand() : Operand{};
}

double MathScript::evaluate() const {
    return evaluateWith(root().parameters);
}

void MathScript::growParameters(int index, double value) {
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

int MathScript::parameterCount() const {
    return static_cast<int>(root().parameters.size());
}

bool MathScript::appendOperand(const Element& element) {
    if (element.type() != Element::KindTag)
        return false;
    MathScript* operand = instance()->create(element);
    if (operand == nullptr)
        return false;
    addChild(operand);
    return true;
}

// Written with an explicit stack: an element costs far more stack than an evaluation, and a
// script may be nested as deep as MaxDepth.
Element MathScript::toXML() const {
    struct Pending {
        const MathScript* node;
        Element* element;
    };
    Element result = ownXML();
    std::vector<Pending> pending{{this, &result}};
    while (!pending.empty()) {
        const Pending next = pending.back();
        pending.pop_back();
        for (int i = 0; i < next.node->writtenOperands(); ++i) {
            const MathScript* operand = next.node->child(i);
            if (operand == nullptr) {
                next.element->addChild(mvk::util::xml::Tag("zero"));
                continue;
            }
            // Children are held by pointer, so the new child stays put while siblings follow.
            Element& written = next.element->addChild(operand->ownXML());
            pending.push_back({operand, &written});
        }
    }
    return result;
}
