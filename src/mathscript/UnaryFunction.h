#pragma once
// A node applying a one-argument operation to its first operand; a missing operand counts as 0
// and further operands are ignored.
#include "mathscript/Functions.h"
#include "mathscript/ScriptFactory.h"

#include <string>
#include <utility>

namespace MathScript_Default {

template <class Operation> class UnaryFunction : public MathScript {
public:
    class Factory : public ScriptFactory {
    public:
        Factory() : ScriptFactory(functionTag(Operation{})) {}
        // The same node kind under another tag; its nodes write that tag back.
        explicit Factory(std::string tag) : ScriptFactory(std::move(tag)) {}

    protected:
        MathScript* build(const mvk::util::xml::Element& element) override {
            auto* node = new UnaryFunction(name());
            node->appendOperand(element.child(0));
            return node;
        }
    };

    explicit UnaryFunction(std::string tag = functionTag(Operation{})) : tagName(std::move(tag)) {}

    const std::string& tag() const { return tagName; }

    double evaluateWith(const Parameters& parameters) const override {
        return static_cast<double>(Operation{}(firstOperandValue(parameters)));
    }

protected:
    mvk::util::xml::Element ownXML() const override { return mvk::util::xml::Tag(tagName); }
    int writtenOperands() const override { return 1; }

private:
    std::string tagName;
};

} // namespace MathScript_Default
