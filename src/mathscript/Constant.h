#pragma once
// A fixed number, read from the element's first child and written with six significant digits.
#include "mathscript/ScriptFactory.h"

namespace MathScript_Default {

class Constant : public MathScript {
public:
    class Factory : public ScriptFactory {
    public:
        Factory() : ScriptFactory("constant") {}

    protected:
        MathScript* build(const mvk::util::xml::Element& element) override;
    };

    explicit Constant(double value = 0.0) : number(value) {}

    double value() const { return number; }

    double evaluateWith(const Parameters& parameters) const override;

protected:
    mvk::util::xml::Element ownXML() const override;
    Operand asOperand() const override { return Operand{nullptr, -1, number}; }

private:
    double number;
};

} // namespace MathScript_Default
