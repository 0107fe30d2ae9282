#pragma once
// The constant 0, also what a missing operand is written as.
#include "mathscript/ScriptFactory.h"

namespace MathScript_Default {

class Zero : public MathScript {
public:
    class Factory : public ScriptFactory {
    public:
        Factory() : ScriptFactory("zero") {}

    protected:
        MathScript* build(const mvk::util::xml::Element& element) override;
    };

    double evaluateWith(const Parameters& parameters) const override;

protected:
    mvk::util::xml::Element ownXML() const override;
    Operand asOperand() const override { return Operand{}; }
};

} // namespace MathScript_Default
