// Arbitrary bytes as a layout document: parsed, built into components offscreen, written back,
// built and written again. Besides not crashing or hanging, the second and third writings must
// be equal: what the toolkit writes, it reads back to the same tree.
#include "gui/Component.h"
#include "gui/Toolkit.h"
#include "util/xml/Element.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using mvk::gui::Component;
using mvk::util::xml::Element;

void startOnce() {
    static const bool started = [] {
        mvk::gui::Toolkit::registerFactories();
        mvk::gui::Toolkit::start();
        return true;
    }();
    (void)started;
}

// Builds the element and writes the result; empty when nothing was built.
std::string buildAndWrite(const Element& element) {
    Component* root = mvk::gui::ComponentFactory::instance()->create(element);
    if (root == nullptr)
        return {};
    const std::string written = root->writeXml().toString("", "", "");
    root->destroy();
    return written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    startOnce();
    Element layout;
    layout.parse(reinterpret_cast<const char*>(data), size);
    const std::string first = buildAndWrite(layout);
    if (first.empty())
        return 0;
    const std::string second = buildAndWrite(Element(first));
    const std::string third = buildAndWrite(Element(second));
    if (second != third) {
        std::fprintf(stderr, "layout fuzz: writing is not stable\n%s\n%s\n", second.c_str(),
                     third.c_str());
        std::abort();
    }
    return 0;
}
