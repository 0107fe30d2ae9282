#pragma once
// The sum of any number of operands; 0 without any.
#include "mathscript/ScriptFactory.h"

namespace MathScript_Default {

class Sum : public MathScript {
public:
    class Factory : public ScriptFactory {
    public:
        Factory() : ScriptFactory("sum") {}

    protected:
        MathScript* build(const mvk::util::xml::Element& element) override;
    };

    double evaluateWith(const Parameters& parameters) const override;

protected:
    mvk::util::xml::Element ownXML() const override;
    int writtenOperands() const override { return childCount(); }
};

} // namespace MathScript_Default
