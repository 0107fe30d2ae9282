#pragma once
// A node applying a two-argument operation to its first two operands; a missing operand counts
// as 0 and operands beyond the second are ignored. Comparisons give exactly 1 or 0.
#include "mathscript/Functions.h"
#include "mathscript/ScriptFactory.h"

#include <string>
#include <utility>

namespace MathScript_Default {

template <class Operation> class BinaryFunction : public MathScript {
public:
    class Factory : public ScriptFactory {
    public:
        Factory() : ScriptFactory(functionTag(Operation{})) {}
        // The same node kind under another tag; its nodes write that tag back.
        explicit Factory(std::string tag) : ScriptFactory(std::move(tag)) {}

    protected:
        MathScript* build(const mvk::util::xml::Element& element) override {
            auto* node = new BinaryFunction(name());
            node->appendOperand(element.child(0));
            node->appendOperand(element.child(1));
            return node;
        }
    };

    explicit BinaryFunction(std::string tag = functionTag(Operation{})) : tagName(std::move(tag)) {}

    const std::string& tag() const { return tagName; }

    double evaluateWith(const Parameters& parameters) const override {
        return static_cast<double>(
            Operation{}(firstOperandValue(parameters), secondOperandValue(parameters)));
    }

protected:
    mvk::util::xml::Element ownXML() const override { return mvk::util::xml::Tag(tagName); }
    int writtenOperands() const override { return 2; }

private:
    std::string tagName;
};

} // namespace MathScript_Default
