#include "util/xml/Element.h"

#include "platform/FileSystem.h"
#include "util/xml/Parser.h"
#include "util/xml/Writer.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <thread>

namespace mvk::util::xml {

namespace {

// Removes "\n" and "\r\n" in place: a file reads as its lines joined without their line ends,
// whichever convention wrote it.
void removeLineEnds(std::string& text) {
    char* out = text.data();
    const char* p = text.data();
    const char* end = p + text.size();
    for (;;) {
        const void* hit = std::memchr(p, '\n', static_cast<size_t>(end - p));
        const char* lineEnd = hit ? static_cast<const char*>(hit) : end;
        size_t length = static_cast<size_t>(lineEnd - p);
        if (hit && length > 0 && lineEnd[-1] == '\r')
            --length;
        std::memmove(out, p, length);
        out += length;
        if (!hit)
            break;
        p = lineEnd + 1;
    }
    text.resize(static_cast<size_t>(out - text.data()));
}

// Storage for an object that lives as long as this library stays loaded: it is never destroyed,
// so it stays usable during static destruction, and it holds no heap memory of its own, so
// unloading the library leaves nothing behind.
template <typename T>
class ImageResident {
public:
    ImageResident() { new (storage) T(); }
    T& get() { return *std::launder(reinterpret_cast<T*>(storage)); }

private:
    alignas(T) unsigned char storage[sizeof(T)];
};

const std::string& noString() {
    static ImageResident<const std::string> none;
    return none.get();
}

// The declaration line and the tab-indented tree, as files hold them.
std::string fileText(const Element& element) {
    std::string out = "<?xml version=\"1.0\"?>\n";
    element.appendTo(out, "\n", "\t", "");
    return out;
}

} // namespace

Element::Element() = default;

Element::Element(const std::string& xmlText) {
    parse(xmlText);
}

Element::Element(const Element& other) {
    copyFrom(other);
}

// The views move along with the hold on the document text, so a node taken out of a parsed tree
// costs no string copies.
Element::Element(Element&& other) noexcept {
    swapContent(other);
}

Element& Element::operator=(const Element& other) {
    return assign(other);
}

// `other` may live inside this tree, so its content is taken before the old content goes.
Element& Element::operator=(Element&& other) noexcept {
    if (this == &other)
        return *this;
    Element taken(std::move(other));
    swapContent(taken);
    return *this;
}

Element::~Element() {
    destroyChildren();
    dropViews(nullptr);
    delete owned;
}

void Element::swapContent(Element& other) noexcept {
    children.swap(other.children);
    std::swap(owned, other.owned);
    std::swap(kind, other.kind);
    std::swap(viewAttributeCount, other.viewAttributeCount);
    const uint8_t mine = strings.load(std::memory_order_relaxed);
    strings.store(other.strings.load(std::memory_order_relaxed), std::memory_order_relaxed);
    other.strings.store(mine, std::memory_order_relaxed);
    std::swap(viewNameSize, other.viewNameSize);
    std::swap(viewName, other.viewName);
    std::swap(viewAttributes, other.viewAttributes);
    std::swap(attributesHome, other.attributesHome);
    std::swap(documentText, other.documentText);
}

// The first caller makes the strings; one that comes meanwhile from another thread waits for
// them, which takes as long as copying one node's strings.
void Element::fillStrings() const {
    uint8_t expected = StringsMissing;
    if (!strings.compare_exchange_strong(expected, StringsBeingMade, std::memory_order_acquire)) {
        while (strings.load(std::memory_order_acquire) != StringsMade)
            std::this_thread::yield();
        return;
    }
    try {
        auto made = std::make_unique<Strings>();
        made->name.assign(viewName, viewNameSize);
        made->attributes.reserve(viewAttributeCount);
        for (uint32_t i = 0; i < viewAttributeCount; ++i)
            made->attributes.emplace_back(std::string(viewAttributes[i].name),
                                          std::string(viewAttributes[i].value));
        owned = made.release();
    } catch (...) {
        strings.store(StringsMissing, std::memory_order_release);
        throw;
    }
    strings.store(StringsMade, std::memory_order_release);
}

Element::Strings& Element::ownStrings() {
    if (documentText != nullptr) {
        if (strings.load(std::memory_order_relaxed) != StringsMade)
            fillStrings();
        Strings* kept = owned;
        owned = nullptr;
        dropViews(nullptr);
        owned = kept;
    }
    if (owned == nullptr)
        owned = new Strings;
    return *owned;
}

const std::string& Element::name() const {
    if (documentText != nullptr && strings.load(std::memory_order_acquire) != StringsMade)
        fillStrings();
    return owned != nullptr ? owned->name : noString();
}

const std::vector<Element::Attribute>& Element::attributes() const {
    static ImageResident<const std::vector<Attribute>> none;
    if (documentText != nullptr && strings.load(std::memory_order_acquire) != StringsMade)
        fillStrings();
    return owned != nullptr ? owned->attributes : none.get();
}

void Element::dropViews(NodeArena::Releases* releases) {
    if (documentText == nullptr)
        return;
    if (viewAttributes != nullptr) {
        if (attributesHome == nullptr)
            ::operator delete(const_cast<AttributeView*>(viewAttributes));
        else if (releases != nullptr)
            releases->add(attributesHome);
        else
            NodeArena::release(attributesHome);
    }
    if (releases != nullptr)
        releases->addText(documentText);
    else
        NodeArena::release(documentText);
    viewAttributes = nullptr;
    viewAttributeCount = 0;
    attributesHome = nullptr;
    viewName = nullptr;
    viewNameSize = 0;
    documentText = nullptr;
    strings.store(StringsMissing, std::memory_order_relaxed);
    delete owned;
    owned = nullptr;
}

void Element::copyOwnContent(const Element& other) {
    kind = other.kind;
    const std::string_view name = other.nameView();
    const size_t count = other.attributeCount();
    if (name.empty() && count == 0)
        return;
    Strings& mine = ownStrings();
    mine.name.assign(name);
    mine.attributes.reserve(count);
    other.forEachAttribute([&](std::string_view name, std::string_view value) {
        mine.attributes.emplace_back(std::string(name), std::string(value));
    });
}

bool Element::findAttribute(std::string_view name, std::string_view& value) const {
    if (documentText != nullptr) {
        for (uint32_t i = viewAttributeCount; i-- > 0;) {
            if (viewAttributes[i].name == name) {
                value = viewAttributes[i].value;
                return true;
            }
        }
        return false;
    }
    if (owned == nullptr)
        return false;
    for (auto it = owned->attributes.rbegin(); it != owned->attributes.rend(); ++it) {
        if (it->first == name) {
            value = it->second;
            return true;
        }
    }
    return false;
}

// The copy is made first: `other` may be this element's own descendant.
Element& Element::assign(const Element& other) {
    if (this == &other)
        return *this;
    Element copy(other);
    return *this = std::move(copy);
}

std::string& Element::setName(const std::string& name) {
    Strings& mine = ownStrings();
    mine.name = name;
    return mine.name;
}

Element& Element::addChild(const Element& element) {
    if (element.isEmpty())
        return *this;
    auto copy = std::make_unique<Element>(element);
    children.push_back(copy.get());
    return *copy.release();
}

Element& Element::addChild(Element&& element) {
    if (element.isEmpty())
        return *this;
    return appendChild(std::move(element));
}

Element& Element::appendChild(Element&& element) {
    auto moved = std::make_unique<Element>(std::move(element));
    children.push_back(moved.get());
    return *moved.release();
}

void Element::clear() {
    dropViews(nullptr);
    delete owned;
    owned = nullptr;
    destroyChildren();
}

// Inline: the tree walk below calls it for every node.
inline void Element::dispose(Element* node, NodeArena::Releases& releases) {
    NodeArena::Block* block = node->storage;
    if (block == nullptr) {
        delete node;
        return;
    }
    if (node->owned != nullptr) {
        node->dropViews(&releases);
        node->Element::~Element();
        releases.add(block);
        return;
    }
    // A node as the reader made it holds nothing but its share of arena blocks: they are counted
    // off and its destructor, which would find nothing to free, is not run.
    node->children.clear(releases);
    if (node->documentText != nullptr) {
        releases.addText(node->documentText);
        if (node->viewAttributes != nullptr) {
            if (node->attributesHome != nullptr)
                releases.add(node->attributesHome);
            else
                ::operator delete(const_cast<AttributeView*>(node->viewAttributes));
        }
    }
    releases.add(block);
}

// Depth first and in document order, which is the order the reader laid the nodes out in
// memory; each node goes after its children.
void Element::destroyChildren() {
    if (children.empty()) {
        children.clear();
        return;
    }
    struct Frame {
        Element* node;
        size_t next;
    };
    std::vector<Frame> path;
    path.reserve(16);
    path.push_back({this, 0});
    NodeArena::Releases releases;
    while (!path.empty()) {
        Frame& frame = path.back();
        Element* const* next = frame.node->children.begin() + frame.next;
        Element* const* end = frame.node->children.end();
        Element* descend = nullptr;
        while (next != end) {
            Element* child = *next++;
            if (!child->children.empty()) {
                descend = child;
                break;
            }
            dispose(child, releases);
        }
        if (descend != nullptr) {
            frame.next = static_cast<size_t>(next - frame.node->children.begin());
            path.push_back({descend, 0});
            continue;
        }
        Element* done = frame.node;
        path.pop_back();
        done->children.clear(releases);
        if (done != this)
            dispose(done, releases);
    }
}

void Element::dispose(Element* node) {
    NodeArena::Block* block = node->storage;
    if (block == nullptr) {
        delete node;
        return;
    }
    node->Element::~Element(); // children are exactly Element
    NodeArena::release(block);
}

void Element::copyFrom(const Element& other) {
    copyOwnContent(other);
    std::vector<std::pair<const Element*, Element*>> pending;
    if (!other.children.empty())
        pending.emplace_back(&other, this);
    while (!pending.empty()) {
        const auto [from, to] = pending.back();
        pending.pop_back();
        to->children.reserve(from->children.size());
        for (const Element* child : from->children) {
            to->children.push_back(new Element);
            Element* copy = to->children.back();
            copy->copyOwnContent(*child);
            if (!child->children.empty())
                pending.emplace_back(child, copy);
        }
    }
}

int Element::parse(const std::string& xmlText) {
    return Parser::parse(*this, xmlText.data(), xmlText.size());
}

int Element::parse(const char* text, size_t length) {
    return Parser::parse(*this, text, length);
}

int Element::load(const std::string& path) {
    std::string text;
    if (!platform::readRegularFile(path, text))
        return CannotOpen;
    removeLineEnds(text);
    return parse(text);
}

bool Element::save(const std::string& path) const {
    const std::string out = fileText(*this);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

bool Element::saveAtomically(const std::string& path) const {
    return platform::replaceFile(path, fileText(*this));
}

std::string Element::toString(const std::string& newline, const std::string& indentUnit,
                              const std::string& indent) const {
    std::string out;
    appendTo(out, newline, indentUnit, indent);
    return out;
}

void Element::appendTo(std::string& out, const std::string& newline, const std::string& indentUnit,
                       const std::string& indent) const {
    Writer writer(out, newline, indentUnit, indent);
    writer.write(*this);
}

std::string& Element::attribute(const std::string& name) {
    std::vector<Attribute>& list = ownStrings().attributes;
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (it->first == name)
            return it->second;
    list.emplace_back(name, std::string());
    return list.back().second;
}

std::string Element::attribute(const std::string& name) const {
    std::string_view value;
    return findAttribute(name, value) ? std::string(value) : std::string();
}

bool Element::hasAttribute(const std::string& name) const {
    std::string_view value;
    return findAttribute(name, value);
}

Element& Element::child(int index) {
    if (index < 0 || index >= childCount())
        return emptyElement();
    return *children[static_cast<size_t>(index)];
}

const Element& Element::child(int index) const {
    return const_cast<Element*>(this)->child(index);
}

Element& Element::child(const std::string& name, int n) {
    if (n < 0)
        return emptyElement();
    const std::string_view wanted(name);
    for (Element* element : children)
        if (element->nameView() == wanted && n-- == 0)
            return *element;
    return emptyElement();
}

const Element& Element::child(const std::string& name, int n) const {
    return const_cast<Element*>(this)->child(name, n);
}

int Element::childCount(const std::string& name) const {
    const std::string_view wanted(name);
    int count = 0;
    for (const Element* element : children)
        if (element->nameView() == wanted)
            ++count;
    return count;
}

const std::string& Element::text() const {
    for (const Element* element : children)
        if (element->kind == KindText)
            return element->name();
    return noString();
}

bool Element::removeChild(const Element& element) {
    for (size_t i = 0; i < children.size(); ++i) {
        if (*children[i] == element) {
            Element* found = children[i];
            children.erase(i);
            dispose(found);
            return true;
        }
    }
    return false;
}

Element Element::takeChild(int index) {
    if (index < 0 || index >= childCount())
        return Element();
    Element* node = children[static_cast<size_t>(index)];
    children.erase(static_cast<size_t>(index));
    Element taken(std::move(*node));
    dispose(node);
    return taken;
}

bool Element::operator==(const Element& other) const {
    if (kind != other.kind || nameView() != other.nameView() ||
        attributeCount() != other.attributeCount())
        return false;
    for (size_t i = 0; i < attributeCount(); ++i)
        if (attributeAt(i) != other.attributeAt(i))
            return false;
    return true;
}

bool Element::deepEquals(const Element& other) const {
    std::vector<std::pair<const Element*, const Element*>> pending{{this, &other}};
    while (!pending.empty()) {
        const auto [a, b] = pending.back();
        pending.pop_back();
        if (!(*a == *b) || a->children.size() != b->children.size())
            return false;
        for (size_t i = 0; i < a->children.size(); ++i)
            pending.emplace_back(a->children[i], b->children[i]);
    }
    return true;
}

// Whatever a careless caller wrote into it is wiped before it is handed out again, so between
// hand-outs it holds no heap memory.
Element& Element::emptyElement() {
    static ImageResident<Element> resident;
    Element* const shared = &resident.get();
    if (!shared->isEmpty() || shared->owned != nullptr || shared->kind != KindNone ||
        shared->documentText != nullptr) {
        shared->clear();
        shared->kind = KindNone;
    }
    return *shared;
}

Tag::Tag(const std::string& name) {
    setType(KindTag);
    setName(name);
}

Text::Text(const std::string& text) {
    setType(KindText);
    setName(text);
}

// The text child is added even when empty: the element always holds exactly one child.
TagWithData::TagWithData(const std::string& name, const std::string& text) {
    setType(KindTag);
    setName(name);
    appendChild(Text(text));
}

Data::Data(const Element& element) : Element(element) {}

} // namespace mvk::util::xml
