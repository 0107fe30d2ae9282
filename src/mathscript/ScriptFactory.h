#pragma once
// Base of the node factories: every build, however it nests, stays within the depth limit of
// MathScript; a build that would exceed it answers null as a whole.
#include "mathscript/MathScript.h"

#include <cstdint>
#include <string>
#include <utility>

namespace MathScript_Default {

class ScriptFactory : public mvk::util::FactoryManager<MathScript>::Factory {
public:
    explicit ScriptFactory(std::string name) : Factory(std::move(name)) {}

    // A new tree (the caller frees it with destroy()), or null when building it would go beyond
    // the depth limit.
    MathScript* create(const mvk::util::xml::Element& element) final;

    // The first child of `element` (normally its text) read with stream extraction; 0 when
    // there is no child or no number in it, the type's limit when the number overflows.
    static double readDouble(const mvk::util::xml::Element& element);
    static int32_t readInt32(const mvk::util::xml::Element& element);

protected:
    // Builds this factory's node from `element`; its operands through the registry.
    virtual MathScript* build(const mvk::util::xml::Element& element) = 0;
};

} // namespace MathScript_Default
