#pragma once
// The value of one numbered parameter of the tree's root; 0 when there is no such parameter.
#include "mathscript/ScriptFactory.h"

#include <cstdint>

namespace MathScript_Default {

class Parameter : public MathScript {
public:
    class Factory : public ScriptFactory {
    public:
        Factory() : ScriptFactory("parameter") {}

    protected:
        MathScript* build(const mvk::util::xml::Element& element) override;
    };

    explicit Parameter(int32_t index = 0) : parameterIndex(index) {}

    int32_t index() const { return parameterIndex; }

    double evaluateWith(const Parameters& parameters) const override;

protected:
    mvk::util::xml::Element ownXML() const override;
    Operand asOperand() const override {
        return Operand{nullptr, parameterIndex < 0 ? -1 : parameterIndex, 0.0};
    }

private:
    int32_t parameterIndex;
};

} // namespace MathScript_Default
