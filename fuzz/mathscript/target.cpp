// Parses the input as XML, builds an expression script from it, evaluates it with a few
// parameters and writes it back, then builds and writes the written text twice more. Written
// scripts must be stable from the second writing on: the first one may still normalise numbers
// or lose a script that the XML reader no longer accepts once written.
#include "mathscript/MathScript_Default.h"
#include "util/xml/Element.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using mvk::util::xml::Element;

// The written script, or an empty text when the element builds no script.
std::string buildAndWrite(const Element& element) {
    MathScript* script = MathScript::instance()->create(element);
    if (script == nullptr)
        return {};
    const double parameters[] = {0.5, -2.0, 1e300, 0.0};
    for (int i = 0; i < 4; ++i)
        script->setParameter(i, parameters[i]);
    volatile double value = script->evaluate();
    (void)value;
    if (MathScript* operand = script->child(0))
        value = operand->evaluate();
    std::string text = script->toXML().toString("", "", "");
    script->destroy();
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool registered = (MathScript_Default::registerFactories(), true);
    (void)registered;
    Element input;
    input.parse(reinterpret_cast<const char*>(data), size);
    const std::string first = buildAndWrite(input);
    const std::string second = buildAndWrite(Element(first));
    const std::string third = buildAndWrite(Element(second));
    if (second != third) {
        std::fprintf(stderr, "unstable writing:\n%s\n%s\n", second.c_str(), third.c_str());
        std::abort();
    }
    return 0;
}
