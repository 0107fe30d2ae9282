#pragma once
// A fresh registry with the standard factories per test, and scripts built from XML text.
#include "mathscript/MathScript_Default.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace qvn::test {

struct ScriptDeleter {
    void operator()(MathScript* script) const { mvk::util::destroy(script); }
};
using ScriptPtr = std::unique_ptr<MathScript, ScriptDeleter>;

class ScriptFixture : public ::testing::Test {
protected:
    void SetUp() override {
        TearDown();
        MathScript_Default::registerFactories();
    }
    void TearDown() override {
        if (auto* registry = MathScript::existing())
            registry->destroy();
    }

    static ScriptPtr build(const mvk::util::xml::Element& element) {
        return ScriptPtr(MathScript::instance()->create(element));
    }
    static ScriptPtr build(const std::string& xmlText) {
        return build(mvk::util::xml::Element(xmlText));
    }
    static double evaluate(const std::string& xmlText) {
        ScriptPtr script = build(xmlText);
        EXPECT_NE(script, nullptr) << xmlText;
        return script ? script->evaluate() : -12345.0;
    }
    // A compact, writer-independent rendering: tag(child,child), text as is.
    static std::string render(const mvk::util::xml::Element& element) {
        if (element.type() != mvk::util::xml::Element::KindTag)
            return element.name();
        std::string out = element.name() + "(";
        for (int i = 0; i < element.childCount(); ++i)
            out += (i > 0 ? "," : "") + render(element.child(i));
        return out + ")";
    }
};

// The benchmark's typical template script: (p0 * 2.5 + sin(p1)) / (1 + atan2(p2, p3)) > 0.5.
inline const char* const TypicalScript =
    "<greater><div><add><mul><parameter>0</parameter><constant>2.5</constant></mul>"
    "<sin><parameter>1</parameter></sin></add><add><constant>1</constant>"
    "<atan2><parameter>2</parameter><parameter>3</parameter></atan2></add></div>"
    "<constant>0.5</constant></greater>";

} // namespace qvn::test
