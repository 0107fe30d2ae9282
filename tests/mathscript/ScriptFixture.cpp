#include "ScriptFixture.h"

namespace qvn::test {

using mvk::util::xml::Element;

void ScriptFixture::SetUp() {
    if (auto* registry = MathScript::existing())
        registry->destroy();
    MathScript_Default::registerFactories();
}

void ScriptFixture::TearDown() {
    if (auto* registry = MathScript::existing())
        registry->destroy();
}

ScriptPtr ScriptFixture::build(const std::string& xmlText) {
    const Element element(xmlText);
    return ScriptPtr(MathScript::instance()->create(element));
}

double ScriptFixture::evaluate(const std::string& xmlText) {
    ScriptPtr script = build(xmlText);
    EXPECT_NE(script, nullptr) << xmlText;
    return script ? script->evaluate() : -12345.0;
}

std::string ScriptFixture::render(const Element& element) {
    if (element.type() != Element::KindTag)
        return element.name();
    std::string out = element.name() + "(";
    for (int i = 0; i < element.childCount(); ++i)
        out += (i > 0 ? "," : "") + render(element.child(i));
    return out + ")";
}

} // namespace qvn::test
