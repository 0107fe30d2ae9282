#pragma once
// Base of the node factories: every build, however it nests, stays within the limits of
// MathScript (depth and operands of a sum); a build that would exceed them answers null as a
// whole.
#include "mathscript/MathScript.h"

#include <cstdint>
#include <string>
#include <utility>

namespace MathScript_Default {

class ScriptFactory : public mvk::util::FactoryManager<MathScript>::Factory {
public:
    explicit ScriptFactory(std::string name) : Factory(std::move(name)) {}

    // A new tree (the caller frees it with destroy()), or null when building it would go beyond
    // the limits.
    MathScript* create(const mvk::util::xml::Element& element) final;

    // Makes the build in progress answer null; used when a node finds itself too large.
    static void refuseBuild();

    // The first child of `element` (normally its text) read with stream extraction; 0 when
    // there is no child or no number in it.
    static double readDouble(const mvk::util::xml::Element& element);
    static int32_t readInt32(const mvk::util::xml::Element& element);

protected:
    // Builds this factory's node from `element`; its operands through the registry.
    virtual MathScript* build(const mvk::util::xml::Element& element) = 0;
};

} // namespace MathScript_Default
