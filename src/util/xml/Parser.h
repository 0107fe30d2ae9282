#pragma once
// The reader of the XML dialect: a tokenizer and tree builder fused into one pass over the text.
// The tree is built in place (each child is created inside its parent before it is filled) and
// iteratively, so nesting depth costs heap, not stack.
#include "util/xml/Element.h"
#include "util/xml/NodeArena.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mvk::util::xml {

class Parser {
public:
    // Replaces the content of `root` by the first node of the text; returns a result code of
    // Element. A zero byte ends the text.
    static int parse(Element& root, const char* text, size_t length);

private:
    enum class TokenKind { Text, Start, End, Empty, Bang };
    struct Token {
        TokenKind kind = TokenKind::Text;
        const char* data = nullptr;
        size_t size = 0;
        // Text only: the run holds a "&" (a reference to resolve).
        bool escaped = false;
    };

    struct Open {
        Element* element;
        size_t firstChild; // index of its first child in pendingChildren
    };

    Parser(const char* text, size_t length);
    ~Parser();
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    int build(Element& root);
    // A node in the arena.
    Element* newNode();
    bool nextToken(Token& token);
    bool readTag(Token& token);
    // Resolves the references of a span of the copy where it stands; returns its new size.
    size_t resolve(const char* data, size_t size);
    // Points the node's name into the copy.
    void setName(Element& node, const char* data, size_t size);
    int fillNode(Element& node, const Token& token);
    int parseAttributes(Element& node, const char* p, const char* end);
    int gatherAttributes(const char* p, const char* end);
    void gather(std::string_view name, std::string_view value);
    // gather() on a tag with many attributes: the slot of the name through the index.
    size_t indexedSlot(std::string_view name);
    void close();
    void dropLastChildIfEmpty();
    int abandon(Element& root, int code, bool childFailed);

    const char* pos;
    const char* end;
    NodeArena arena;
    std::vector<Open> open;
    std::vector<Element*> pendingChildren;
    // The current tag's attributes (the first gatheredCount entries: views into the text, values
    // resolved) and, for tags with many attributes, an index over their names: repeated names
    // overwrite, and a tag with a million attributes must not cost a million squared comparisons.
    std::vector<Element::AttributeView> gathered;
    size_t gatheredCount = 0;
    std::unordered_map<std::string_view, size_t> attributeIndex;
};

} // namespace mvk::util::xml
