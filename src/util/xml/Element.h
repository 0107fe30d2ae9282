#pragma once
// The XML node of every file and scene tag: at once a document, an element, a text run and a
// comment. A value type that copies deeply; a parent owns its children. Reading, writing,
// copying, comparing and destroying walk a tree without recursion, so any depth is safe.
//
// A node the reader made keeps its name and attributes as views into the document's own copy of
// the text; the strings that name(), attributes() and text() hand out are made from them on
// first use, and any change turns the node into one that owns its strings. Const member
// functions may be called from several threads at once, as with any standard type.
#include "util/xml/ChildList.h"
#include "util/xml/NodeArena.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mvk::util::xml {

class Element {
public:
    // Node kinds (values of type()).
    static constexpr int32_t KindNone = 0;
    static constexpr int32_t KindTag = 1;
    static constexpr int32_t KindText = 2;
    static constexpr int32_t KindComment = 4;

    // Result codes of parse() and load().
    static constexpr int Parsed = 0;
    static constexpr int CannotOpen = 1;
    static constexpr int NothingToParse = 2;
    static constexpr int UnexpectedEnd = 3;
    static constexpr int MismatchedEndTag = 4;
    static constexpr int Malformed = 5;

    using Attribute = std::pair<std::string, std::string>;

    // An empty element (kind 0, written as nothing).
    Element();
    // PARSES the text; Element("") is an empty element.
    explicit Element(const std::string& xmlText);
    Element(const Element& other);
    Element(Element&& other) noexcept;
    Element& operator=(const Element& other);
    Element& operator=(Element&& other) noexcept;

    // Deep copy of `other` into this element.
    virtual Element& assign(const Element& other);
    // Sets the name (tag name, text or comment text) and returns the stored name.
    virtual std::string& setName(const std::string& name);
    // Appends a deep copy and returns the new child; an empty argument adds nothing and returns
    // this element.
    virtual Element& addChild(const Element& element);
    virtual ~Element();

    // Same as addChild(const Element&), but moves the argument in.
    Element& addChild(Element&& element);

    // Removes attributes and children and empties the name; the kind stays.
    void clear();

    // Replaces the content by the first node of the text; returns a result code.
    int parse(const std::string& xmlText);
    int parse(const char* text, size_t length);
    // Reads a file with its line ends removed and parses it; 1 when it cannot be opened.
    int load(const std::string& path);
    // Writes the declaration line and the tab-indented tree; false on any open or write error.
    bool save(const std::string& path) const;
    // As save(), but the file is replaced as one step (platform::replaceFile): readers and
    // other writers never see a part of it, and a failed write leaves the previous file.
    bool saveAtomically(const std::string& path) const;
    // The writer. save() uses ("\n", "\t", ""); the scene store uses three empty strings.
    std::string toString(const std::string& newline, const std::string& indentUnit,
                         const std::string& indent) const;
    // Appends the written form to `out` (no temporary strings per node).
    void appendTo(std::string& out, const std::string& newline, const std::string& indentUnit,
                  const std::string& indent) const;

    // Value of the last attribute of that name; appends (name, "") when missing.
    std::string& attribute(const std::string& name);
    // Value of the last attribute of that name, or "" (never adds).
    std::string attribute(const std::string& name) const;
    bool hasAttribute(const std::string& name) const;
    const std::vector<Attribute>& attributes() const;

    // The child at `index`, or the shared empty element.
    Element& child(int index);
    const Element& child(int index) const;
    // The n-th child named `name`, or the shared empty element.
    Element& child(const std::string& name, int n = 0);
    const Element& child(const std::string& name, int n = 0) const;
    int childCount() const { return static_cast<int>(children.size()); }
    int childCount(const std::string& name) const;
    // Calls `visit` with each child named `name`, in order. One pass over the children: a list
    // of same-named children is read this way, never with child(name, i) in a loop, which
    // would scan from the start for every entry.
    template <typename Visit>
    void forEachChild(const std::string& name, Visit&& visit) const {
        const std::string_view wanted(name);
        for (const Element* element : children)
            if (element->nameView() == wanted)
                visit(*element);
    }

    // The first text child's text, or the shared empty string.
    const std::string& text() const;
    // True when the name is empty and there are no children.
    bool isEmpty() const { return nameView().empty() && children.empty(); }

    // Deletes the first child that equals `element` (shallow comparison); false if none.
    bool removeChild(const Element& element);
    // Removes the child at `index` and returns it; out of range: an empty element.
    Element takeChild(int index);

    // Shallow equality: kind, name and attributes (in order).
    bool operator==(const Element& other) const;
    bool operator!=(const Element& other) const { return !(*this == other); }
    // Shallow equality and pairwise deep-equal children.
    bool deepEquals(const Element& other) const;

    const std::string& name() const;
    int32_t type() const { return kind; }
    void setType(int32_t type) { kind = type; }

    // The shared empty element that failed look-ups return; callers must not modify it.
    static Element& emptyElement();

protected:
    // Appends the element as the last child even when it is empty.
    Element& appendChild(Element&& element);

private:
    // A parsed attribute: views into the document's text.
    struct AttributeView {
        std::string_view name;
        std::string_view value;
    };
    // States of the strings made from the views.
    static constexpr uint8_t StringsMissing = 0;
    static constexpr uint8_t StringsBeingMade = 1;
    static constexpr uint8_t StringsMade = 2;

    // The strings of a node: its own, or those made from its views.
    struct Strings {
        std::string name;
        std::vector<Attribute> attributes;
    };

    std::string_view nameView() const {
        if (documentText != nullptr)
            return std::string_view(viewName, viewNameSize);
        return owned != nullptr ? std::string_view(owned->name) : std::string_view();
    }
    size_t attributeCount() const {
        if (documentText != nullptr)
            return viewAttributeCount;
        return owned != nullptr ? owned->attributes.size() : 0;
    }
    std::pair<std::string_view, std::string_view> attributeAt(size_t index) const {
        if (documentText != nullptr)
            return {viewAttributes[index].name, viewAttributes[index].value};
        return {owned->attributes[index].first, owned->attributes[index].second};
    }
    // Calls `visit(name, value)` with each attribute as views, in order.
    template <typename Visit>
    void forEachAttribute(Visit&& visit) const {
        if (documentText != nullptr) {
            for (uint32_t i = 0; i < viewAttributeCount; ++i)
                visit(viewAttributes[i].name, viewAttributes[i].value);
            return;
        }
        if (owned != nullptr)
            for (const Attribute& attribute : owned->attributes)
                visit(std::string_view(attribute.first), std::string_view(attribute.second));
    }
    // Sets `value` to the value of the last attribute of that name; false when there is none.
    bool findAttribute(std::string_view name, std::string_view& value) const;
    // Makes the strings from the views, once, whichever thread asks first.
    void fillStrings() const;
    // Before a change: the node keeps its strings and lets go of the views; returns them.
    Strings& ownStrings();
    // Lets go of the views (and the strings made from them), with the releases of arena blocks
    // left to `releases` when one is given.
    void dropViews(NodeArena::Releases* releases);
    // Exchanges the whole content (not the storage identity) with `other`.
    void swapContent(Element& other) noexcept;
    // Copies kind, name and attributes of `other` as owned strings.
    void copyOwnContent(const Element& other);

    // Deletes every descendant without recursion.
    void destroyChildren();
    // Copies the content of `other` into this element, which holds no children.
    void copyFrom(const Element& other);
    // Deletes a child node, wherever its storage came from (it must have no children left
    // when `releases` is given: the caller has taken them).
    static void dispose(Element* node);
    static void dispose(Element* node, NodeArena::Releases& releases);

    ChildList children;
    int32_t kind = KindNone;
    uint32_t viewAttributeCount = 0;
    mutable std::atomic<uint8_t> strings{StringsMissing};
    // The views: the name, and the attributes (an array in an arena block, or on the heap when
    // attributesHome is null). documentText is the block of the document text they point into;
    // null for a node that owns its strings.
    size_t viewNameSize = 0;
    const char* viewName = nullptr;
    const AttributeView* viewAttributes = nullptr;
    NodeArena::Block* attributesHome = nullptr;
    NodeArena::Block* documentText = nullptr;
    // The node's own strings (null: an empty name and no attributes), or, while documentText is
    // set, the strings made from the views (set once `strings` says they are made).
    mutable Strings* owned = nullptr;
    // The reader's arena block this node sits in, or null for a node of its own on the heap (or
    // a node that is not a child). Identity of the storage: never copied or moved.
    NodeArena::Block* storage = nullptr;

    friend class Parser;
    friend class Writer;
};

// A tag: kind 1 with a name.
class Tag : public Element {
public:
    explicit Tag(const std::string& name);
};

// A text run: kind 2 whose name is the text.
class Text : public Element {
public:
    explicit Text(const std::string& text);
};

// A simple value element: a tag with exactly one text child.
class TagWithData : public Element {
public:
    TagWithData(const std::string& name, const std::string& text);
};

// A copy of an existing element, read with stream extraction by callers.
class Data : public Element {
public:
    explicit Data(const Element& element);
};

// Escaping and unescaping of the dialect (numeric character references only).
std::string escape(const std::string& raw);
void appendEscaped(std::string& out, const char* data, size_t length);
std::string unescape(const std::string& text);
void appendUnescaped(std::string& out, const char* data, size_t length);

} // namespace mvk::util::xml
