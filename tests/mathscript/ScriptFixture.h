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
    void SetUp() override;
    void TearDown() override;

    // The tree built by the registry from the parsed text, or null.
    static ScriptPtr build(const std::string& xmlText);
    static double evaluate(const std::string& xmlText);
    // A compact, writer-independent rendering: tag(child,child), text as is.
    static std::string render(const mvk::util::xml::Element& element);
};

} // namespace qvn::test
