// Arbitrary bytes through the reader and writer. Besides not crashing or hanging, a tree that
// the dialect can write faithfully must survive the single-line form unchanged, and writing it
// again must give the same bytes.
#include "util/xml/Element.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using mvk::util::xml::Element;

namespace {

void check(bool condition, const char* what, const std::string& detail) {
    if (condition)
        return;
    std::fprintf(stderr, "xml fuzz: %s\n%s\n", what, detail.c_str());
    std::abort();
}

// A name the writer escapes cannot come back as written; neither can a tag name that the reader
// would split, end early or take for an end tag, a declaration or an empty tag, nor an attribute
// name it would split or take for the end of the tag.
bool faithfulName(const std::string& name, bool tag) {
    if (mvk::util::xml::escape(name) != name ||
        name.find_first_of(tag ? " >" : " =>") != std::string::npos)
        return false;
    if (name.empty() || name.front() == '?')
        return !tag && name.empty();
    return !tag || (name.front() != '/' && name.front() != '!' && name.back() != '/');
}

// No comments, no adjacent text runs (the writer separates them with a space), no text of
// spaces only (dropped before a tag), no names the writer escapes; the root is a tag.
bool writableFaithfully(const Element& root) {
    if (root.type() != Element::KindTag)
        return false;
    std::vector<const Element*> pending{&root};
    while (!pending.empty()) {
        const Element& element = *pending.back();
        pending.pop_back();
        if (element.type() == Element::KindText) {
            if (element.name().find_first_not_of(' ') == std::string::npos)
                return false;
            continue;
        }
        if (element.type() != Element::KindTag || !faithfulName(element.name(), true))
            return false;
        for (const auto& attribute : element.attributes())
            if (!faithfulName(attribute.first, false))
                return false;
        for (int i = 0; i < element.childCount(); ++i) {
            const Element& child = element.child(i);
            if (i > 0 && child.type() == Element::KindText &&
                element.child(i - 1).type() == Element::KindText)
                return false;
            pending.push_back(&child);
        }
    }
    return true;
}

void checkRoundTrip(const Element& tree) {
    const std::string written = tree.toString("", "", "");
    Element back;
    const int code = back.parse(written);
    check(code == Element::Parsed, "written tree does not parse", written);
    check(back.deepEquals(tree), "written tree reads back different", written);
    check(back.toString("", "", "") == written, "second write differs", written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    const std::string bytes(text, size);
    check(mvk::util::xml::unescape(mvk::util::xml::escape(bytes)) == bytes,
          "escaping does not invert", bytes);

    Element tree;
    const int code = tree.parse(text, size);
    check(code >= Element::Parsed && code <= Element::Malformed, "result code out of range", bytes);
    // Whatever was built, partial or not, must write, copy and compare.
    const std::string pretty = tree.toString("\n", "\t", "");
    const Element copy(tree);
    check(copy.deepEquals(tree), "copy differs", bytes);
    check(copy.toString("\n", "\t", "") == pretty, "copy writes differently", bytes);

    if (code == Element::Parsed && writableFaithfully(tree))
        checkRoundTrip(tree);
    return 0;
}
