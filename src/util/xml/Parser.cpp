#include "util/xml/Parser.h"

#include "util/xml/CharClass.h"

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <cstdint>
#include <cstring>
#include <new>
#include <tuple>
#include <utility>

namespace mvk::util::xml {

// The steps of reading a tag are small functions called once per tag; they are merged into the
// reading loop, where a call's register saving would cost as much as the step.
#define QVN_XML_INLINE [[gnu::always_inline]] inline

namespace {

using charclass::HexDigit;
using charclass::NameEnd;
using charclass::Space;
using charclass::TagNameStop;

// Beyond this many attributes on one tag, repeated names are found through a hash index.
constexpr size_t IndexedAttributeCount = 16;

// Most spans of tag-dense text are a few bytes long, where the library call costs more than the
// search: sixteen bytes are compared at once wherever they can be read, which is up to
// `readable`, the end of the whole text (a hit past `end` counts as none).
QVN_XML_INLINE const char* find(const char* p, const char* end, char c, const char* readable) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    for (int round = 0; p < end && readable - p >= 16 && round < 16; ++round) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int hits = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted));
        if (hits != 0) {
            const char* hit = p + __builtin_ctz(static_cast<unsigned>(hits));
            return hit < end ? hit : end;
        }
        p += 16;
    }
    if (p >= end)
        return end;
#endif
    if (end - p > 16) {
        const void* hit = std::memchr(p, c, static_cast<size_t>(end - p));
        return hit ? static_cast<const char*>(hit) : end;
    }
    for (; p < end; ++p)
        if (*p == c)
            return p;
    return end;
}

QVN_XML_INLINE const char* find(const char* p, const char* end, char c) {
    return find(p, end, c, end);
}

// find(), noting in `ampersand` whether a "&" comes before the hit: a span without one is copied
// as it stands, with no second search for references.
QVN_XML_INLINE const char* findNoting(const char* p, const char* end, char c, const char* readable,
                                      bool& ampersand) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    const __m128i amp = _mm_set1_epi8('&');
    for (int round = 0; p < end && readable - p >= 16 && round < 8; ++round) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted)));
        auto amps = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, amp)));
        if (end - p < 16) {
            const unsigned inside = (1u << (end - p)) - 1;
            hits &= inside;
            amps &= inside;
        }
        if (hits != 0) {
            const unsigned at = static_cast<unsigned>(__builtin_ctz(hits));
            ampersand = ampersand || (amps & ((1u << at) - 1)) != 0;
            return p + at;
        }
        ampersand = ampersand || amps != 0;
        p += 16;
    }
    if (p >= end)
        return end;
    if (end - p > 16) {
        // A long span: the library's wider searches from here.
        const char* hit = find(p, end, c, readable);
        ampersand = ampersand || std::memchr(p, '&', static_cast<size_t>(hit - p)) != nullptr;
        return hit;
    }
#endif
    for (; p < end; ++p) {
        if (*p == c)
            return p;
        ampersand = ampersand || *p == '&';
    }
    return end;
}

template <typename Word> Word load(const char* p) {
    Word word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// An end tag against its start tag's name. Names are short: they are compared a word at a time
// rather than through the library call.
QVN_XML_INLINE bool sameName(std::string_view a, std::string_view b) {
    const size_t n = a.size();
    if (n != b.size())
        return false;
    if (n > 32)
        return std::memcmp(a.data(), b.data(), n) == 0;
    if (n >= 8) {
        for (size_t i = 0; i + 8 <= n; i += 8)
            if (load<uint64_t>(a.data() + i) != load<uint64_t>(b.data() + i))
                return false;
        return load<uint64_t>(a.data() + n - 8) == load<uint64_t>(b.data() + n - 8);
    }
    if (n >= 4)
        return load<uint32_t>(a.data()) == load<uint32_t>(b.data()) &&
               load<uint32_t>(a.data() + n - 4) == load<uint32_t>(b.data() + n - 4);
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

// Only the low byte of a character reference survives, so the value is kept modulo 256: any run
// of digits converts in linear time without overflow.
unsigned char referenceValue(const char* digits, const char* end, bool hex) {
    unsigned value = 0;
    for (const char* p = digits; p < end; ++p) {
        const char c = *p;
        if (hex) {
            const unsigned digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
            value = (value * 16 + digit) & 0xff;
        } else {
            if (c < '0' || c > '9')
                break; // a decimal conversion stops at the first hexadecimal letter
            value = (value * 10 + static_cast<unsigned>(c - '0')) & 0xff;
        }
    }
    return static_cast<unsigned char>(value);
}

// Reads a character reference from just after its "&#" and moves `p` past it.
char readReference(const char*& p, const char* end) {
    ++p;
    const bool hex = p < end && *p == 'x';
    if (hex)
        ++p;
    const char* digits = p;
    while (p < end && charclass::is(*p, HexDigit))
        ++p;
    const char value = static_cast<char>(referenceValue(digits, p, hex));
    if (p < end)
        ++p; // the terminator, normally ";", is skipped unchecked
    return value;
}

} // namespace

namespace {

// appendUnescaped() of a span inside a text that is readable up to `readable`.
void appendUnescapedIn(std::string& out, const char* data, size_t length, const char* readable) {
    const char* p = data;
    const char* end = data + length;
    while (p < end) {
        const char* amp = find(p, end, '&', readable);
        out.append(p, static_cast<size_t>(amp - p));
        if (amp == end)
            return;
        p = amp + 1;
        if (p == end || *p != '#') {
            out.push_back('&');
            continue;
        }
        out.push_back(readReference(p, end));
    }
}

// Resolves the references of a span of the document's own copy where it stands (a reference is
// never shorter than the byte it stands for) and returns the new length.
size_t unescapeInPlace(char* data, size_t length, const char* readable) {
    char* out = data;
    const char* p = data;
    const char* end = data + length;
    while (p < end) {
        const char* amp = find(p, end, '&', readable);
        const size_t run = static_cast<size_t>(amp - p);
        if (out != p)
            std::memmove(out, p, run);
        out += run;
        if (amp == end)
            break;
        p = amp + 1;
        if (p == end || *p != '#') {
            *out++ = '&';
            continue;
        }
        *out++ = readReference(p, end);
    }
    return static_cast<size_t>(out - data);
}

} // namespace

void appendUnescaped(std::string& out, const char* data, size_t length) {
    appendUnescapedIn(out, data, length, data + length);
}

std::string unescape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    appendUnescaped(out, text.data(), text.size());
    return out;
}

int Parser::parse(Element& root, const char* text, size_t length) {
    if (text == nullptr)
        length = 0;
    else if (const void* zero = std::memchr(text, 0, length))
        length = static_cast<size_t>(static_cast<const char*>(zero) - text);
    Parser parser(text, length);
    return parser.build(root);
}

// The reader works on the document's own copy: names, texts and values are resolved in it where
// they stand, and the nodes point into it.
Parser::Parser(const char* text, size_t length) : arena(length) {
    pos = arena.copyText(text, length);
    end = pos + length;
    // Enough for the usual depth, width and attribute count, so a small document grows none.
    open.reserve(16);
    pendingChildren.reserve(64);
    gathered.resize(16);
}

int Parser::build(Element& root) {
    root.clear();
    Token token;
    if (!nextToken(token))
        return Element::NothingToParse;
    if (token.kind != TokenKind::Start && token.kind != TokenKind::Empty)
        return Element::NothingToParse;
    if (token.data[0] == '?' && !nextToken(token))
        return Element::Malformed;
    const int code = fillNode(root, token);
    if (code != Element::Parsed || token.kind != TokenKind::Start)
        return code;

    open.push_back({&root, 0});
    for (;;) {
        if (!nextToken(token))
            return abandon(root, Element::UnexpectedEnd, false);
        if (token.kind == TokenKind::End) {
            if (!sameName(std::string_view(token.data, token.size),
                          open.back().element->nameView()))
                return abandon(root, Element::MismatchedEndTag, false);
            close();
            if (open.empty())
                return Element::Parsed;
            dropLastChildIfEmpty();
            continue;
        }
        Element* child = newNode();
        pendingChildren.push_back(child);
        const int childCode = fillNode(*child, token);
        if (childCode != Element::Parsed)
            return abandon(root, childCode, true);
        if (token.kind == TokenKind::Start)
            open.push_back({child, pendingChildren.size()});
        else
            dropLastChildIfEmpty();
    }
}

// The children of every open element wait in one shared list until its end tag, so each
// element gets its child list in one allocation of the right size.
QVN_XML_INLINE void Parser::close() {
    const Open top = open.back();
    open.pop_back();
    const auto first = pendingChildren.begin() + static_cast<std::ptrdiff_t>(top.firstChild);
    top.element->children.assign(pendingChildren.data() + top.firstChild,
                                 pendingChildren.size() - top.firstChild, &arena);
    pendingChildren.erase(first, pendingChildren.end());
}

// Adding an empty element adds nothing (a tag whose name is empty and that has no children).
QVN_XML_INLINE void Parser::dropLastChildIfEmpty() {
    if (pendingChildren.size() == open.back().firstChild || !pendingChildren.back()->isEmpty())
        return;
    Element::dispose(pendingChildren.back());
    pendingChildren.pop_back();
}

// A failing node is never added to its parent, nor is any ancestor still open below the root:
// the root keeps its name, attributes and the children it completed. `childFailed`: the last
// child made failed while being filled.
int Parser::abandon(Element& root, int code, bool childFailed) {
    size_t rootChildren = open.size() > 1 ? open[1].firstChild : pendingChildren.size();
    if ((childFailed || open.size() > 1) && rootChildren > 0)
        --rootChildren;
    const auto kept = pendingChildren.begin() + static_cast<std::ptrdiff_t>(rootChildren);
    root.children.assign(pendingChildren.data(), rootChildren, &arena);
    pendingChildren.erase(pendingChildren.begin(), kept);
    return code;
}

Parser::~Parser() {
    // Nodes of an abandoned subtree; their completed descendants go with them.
    for (Element* element : pendingChildren)
        Element::dispose(element);
}

QVN_XML_INLINE Element* Parser::newNode() {
    NodeArena::Block* block = nullptr;
    void* memory = arena.allocate(sizeof(Element), block);
    Element* node = new (memory) Element;
    node->storage = block;
    return node;
}

QVN_XML_INLINE bool Parser::nextToken(Token& token) {
    while (pos < end) {
        const char* whitespace = pos;
        while (pos < end && charclass::is(*pos, Space))
            ++pos;
        if (pos < end && *pos == '<') {
            if (readTag(token))
                return true;
            continue; // an empty tag token is dropped
        }
        // Whitespace before a tag is dropped, but it belongs to a text run that follows it.
        bool escaped = false;
        const char* stop = findNoting(pos, end, '<', end, escaped);
        token = {TokenKind::Text, whitespace, static_cast<size_t>(stop - whitespace), escaped};
        pos = stop;
        return true;
    }
    return false;
}

QVN_XML_INLINE bool Parser::readTag(Token& token) {
    ++pos; // "<"
    TokenKind kind = TokenKind::Start;
    if (pos < end && *pos == '/') {
        kind = TokenKind::End;
        ++pos;
    } else if (pos < end && *pos == '!') {
        kind = TokenKind::Bang;
        ++pos;
    }
    const char* start = pos;
    const char* close = find(pos, end, '>');
    const char* stop = close;
    if (close < end && kind != TokenKind::Bang && stop > start && stop[-1] == '/') {
        kind = TokenKind::Empty;
        --stop;
    }
    pos = close < end ? close + 1 : end;
    if (stop == start)
        return false;
    token = {kind, start, static_cast<size_t>(stop - start)};
    return true;
}

// The copy of the text is the parser's own, so its spans may be written to.
size_t Parser::resolve(const char* data, size_t size) {
    return unescapeInPlace(const_cast<char*>(data), size, end);
}

QVN_XML_INLINE void Parser::setName(Element& node, const char* data, size_t size) {
    node.viewName = data;
    node.viewNameSize = size;
    node.documentText = arena.textBlock();
    arena.useText();
}

QVN_XML_INLINE int Parser::fillNode(Element& node, const Token& token) {
    switch (token.kind) {
    case TokenKind::Text:
        node.kind = Element::KindText;
        setName(node, token.data, token.escaped ? resolve(token.data, token.size) : token.size);
        return Element::Parsed;
    case TokenKind::Bang:
        node.kind = Element::KindComment;
        setName(node, token.data, resolve(token.data, token.size));
        return Element::Parsed;
    case TokenKind::End:
        return Element::NothingToParse;
    case TokenKind::Start:
    case TokenKind::Empty:
        break;
    }
    node.kind = Element::KindTag;
    const char* p = token.data;
    const char* stop = token.data + token.size;
    while (p < stop && !charclass::is(*p, TagNameStop))
        ++p;
    const bool escaped = p < stop && *p == '&';
    while (p < stop && !charclass::is(*p, Space))
        ++p;
    const size_t nameSize = static_cast<size_t>(p - token.data);
    setName(node, token.data, escaped ? resolve(token.data, nameSize) : nameSize);
    return parseAttributes(node, p, stop);
}

// The attributes are gathered as views into the text first, so the node's list is allocated once
// at its final size; whatever was read before a malformed attribute is kept, as it would be if
// each were stored on its own.
QVN_XML_INLINE int Parser::parseAttributes(Element& node, const char* p, const char* stop) {
    gatheredCount = 0;
    if (!attributeIndex.empty())
        attributeIndex.clear();
    const int code = gatherAttributes(p, stop);
    if (gatheredCount == 0)
        return code;
    if (gatheredCount > UINT32_MAX)
        throw std::bad_alloc();
    auto* views = static_cast<Element::AttributeView*>(
        arena.allocate(gatheredCount * sizeof(Element::AttributeView), node.attributesHome));
    std::memcpy(static_cast<void*>(views), gathered.data(),
                gatheredCount * sizeof(Element::AttributeView));
    node.viewAttributes = views;
    node.viewAttributeCount = static_cast<uint32_t>(gatheredCount);
    return code;
}

QVN_XML_INLINE int Parser::gatherAttributes(const char* p, const char* stop) {
    for (;;) {
        while (p < stop && charclass::is(*p, Space))
            ++p;
        if (p == stop || *p == '?')
            return Element::Parsed;
        const char* name = p;
        while (p < stop && !charclass::is(*p, NameEnd))
            ++p;
        if (p == stop || *p != '=')
            return Element::Malformed;
        const std::string_view attributeName(name, static_cast<size_t>(p - name));
        ++p;
        if (p == stop || (*p != '"' && *p != '\''))
            return Element::Malformed;
        const char quote = *p++;
        bool escaped = false;
        const char* closing = findNoting(p, stop, quote, end, escaped);
        if (closing == stop)
            return Element::Malformed;
        // Most values hold no reference and stay as they stand.
        const size_t size = static_cast<size_t>(closing - p);
        gather(attributeName, std::string_view(p, escaped ? resolve(p, size) : size));
        p = closing + 1;
    }
}

// Same effect as node.attribute(name) = value: a repeated name overwrites the earlier value and
// keeps its position. The slot is written field by field: a whole struct built aside and copied
// in stalls on its way through the stack.
QVN_XML_INLINE void Parser::gather(std::string_view name, std::string_view value) {
    size_t index = gatheredCount;
    if (gatheredCount < IndexedAttributeCount) {
        // Names of one tag mostly differ in length or first byte: those are compared first.
        for (size_t i = gatheredCount; i-- > 0;) {
            const std::string_view other = gathered[i].name;
            if (other.size() == name.size() && (name.empty() || other[0] == name[0]) &&
                other == name) {
                index = i;
                break;
            }
        }
    } else {
        index = indexedSlot(name);
    }
    if (index == gatheredCount) {
        if (gatheredCount == gathered.size())
            gathered.resize(gathered.size() * 2);
        ++gatheredCount;
    }
    Element::AttributeView& slot = gathered[index];
    slot.name = name;
    slot.value = value;
}

size_t Parser::indexedSlot(std::string_view name) {
    if (attributeIndex.empty())
        for (size_t i = 0; i < gatheredCount; ++i)
            attributeIndex.emplace(gathered[i].name, i);
    return attributeIndex.emplace(name, gatheredCount).first->second;
}

} // namespace mvk::util::xml
