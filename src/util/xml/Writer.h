#pragma once
// The writer of the XML dialect. It appends the whole document to one output string and walks
// the tree with an explicit stack, so nesting depth costs heap, not stack.
#include "util/xml/Element.h"

#include <string>
#include <vector>

namespace mvk::util::xml {

class Writer {
public:
    // Deeper levels are written at this indentation: with one unit per level, a tree nested a
    // million deep would otherwise take terabytes. The document stays valid and reads back the
    // same; only its layout flattens past this depth.
    static constexpr size_t MaxIndentLevels = 64;

    Writer(std::string& out, const std::string& newline, const std::string& indentUnit,
           const std::string& indent);

    void write(const Element& root);

private:
    struct Frame {
        const Element* element;
        size_t next;
        bool inlineMode;
    };

    void writeLeaf(const Element& element);
    void openTag(const Element& element);
    void closeTag(const Frame& frame);
    void writeAttributes(const Element& element);

    std::string& out;
    const std::string& newline;
    const std::string& indentUnit;
    std::string indent;
    std::vector<Frame> stack;
};

} // namespace mvk::util::xml
