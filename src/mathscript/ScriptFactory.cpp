#include "mathscript/ScriptFactory.h"

#include <locale>
#include <sstream>

namespace MathScript_Default {

namespace {

// Operands are built by nested create() calls through the registry, so the state of the build in
// progress lives here rather than in an argument the factory interface does not have.
thread_local int buildDepth = 0;
thread_local bool buildRefused = false;

class DepthStep {
public:
    DepthStep() { ++buildDepth; }
    ~DepthStep() { --buildDepth; }
    DepthStep(const DepthStep&) = delete;
    DepthStep& operator=(const DepthStep&) = delete;
};

// Whatever extraction stores is the value, failed or not: 0 when no number starts the text, and
// the largest value of the type (with its sign) when the number does not fit, "1e999" say.
template <class Number> Number readNumber(const mvk::util::xml::Element& element) {
    std::istringstream in(element.child(0).name());
    in.imbue(std::locale::classic());
    Number value{};
    in >> value;
    return value;
}

} // namespace

double ScriptFactory::readDouble(const mvk::util::xml::Element& element) {
    return readNumber<double>(element);
}

int32_t ScriptFactory::readInt32(const mvk::util::xml::Element& element) {
    return readNumber<int32_t>(element);
}

// Refusing at build time keeps the recursions of building, evaluating and destroying within
// MaxDepth levels (about 1.5 MB of stack at the limit); a partly built tree that is thrown away
// is never deeper than that either.
MathScript* ScriptFactory::create(const mvk::util::xml::Element& element) {
    const bool outermost = buildDepth == 0;
    if (outermost)
        buildRefused = false;
    if (buildRefused || buildDepth >= MathScript::MaxDepth) {
        buildRefused = true;
        return nullptr;
    }
    MathScript* node = nullptr;
    {
        DepthStep step;
        node = build(element);
    }
    if (outermost && buildRefused) {
        mvk::util::destroy(node);
        return nullptr;
    }
    return node;
}

} // namespace MathScript_Default
