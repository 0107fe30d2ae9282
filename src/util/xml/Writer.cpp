#include "util/xml/Writer.h"

#include "util/xml/CharClass.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mvk::util::xml {

namespace {

using charclass::Kept;

// "&#" + decimal value + ";" for every byte; only the bytes outside the Kept class use it.
struct References {
    char text[256][7];
    unsigned char size[256];
    constexpr References() : text{}, size{} {
        for (int c = 0; c < 256; ++c) {
            int n = 0;
            text[c][n++] = '&';
            text[c][n++] = '#';
            if (c >= 100)
                text[c][n++] = static_cast<char>('0' + c / 100);
            if (c >= 10)
                text[c][n++] = static_cast<char>('0' + c / 10 % 10);
            text[c][n++] = static_cast<char>('0' + c % 10);
            text[c][n++] = ';';
            size[c] = static_cast<unsigned char>(n);
        }
    }
};

constexpr References references;

void appendReference(std::string& out, unsigned char c) {
    out.append(references.text[c], references.size[c]);
}

// Length of the leading run of bytes that the escaper keeps as they are.
size_t keptRun(const char* data, size_t length) {
    size_t i = 0;
#if defined(__SSE2__)
    // Kept bytes are 0x20..0x7e except "&" and "<". Flipping the top bit turns the unsigned
    // range test into two signed comparisons.
    const __m128i flip = _mm_set1_epi8(static_cast<char>(0x80));
    const __m128i low = _mm_set1_epi8(static_cast<char>(0x20 ^ 0x80));
    const __m128i high = _mm_set1_epi8(static_cast<char>(0x7e ^ 0x80));
    const __m128i amp = _mm_set1_epi8('&');
    const __m128i lt = _mm_set1_epi8('<');
    for (; i + 16 <= length; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i shifted = _mm_xor_si128(bytes, flip);
        __m128i bad = _mm_or_si128(_mm_cmplt_epi8(shifted, low), _mm_cmpgt_epi8(shifted, high));
        bad =
            _mm_or_si128(bad, _mm_or_si128(_mm_cmpeq_epi8(bytes, amp), _mm_cmpeq_epi8(bytes, lt)));
        const int mask = _mm_movemask_epi8(bad);
        if (mask != 0)
            return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#endif
    while (i < length && charclass::is(data[i], Kept))
        ++i;
    return i;
}

bool contains(std::string_view text, char c) {
    return std::memchr(text.data(), c, text.size()) != nullptr;
}

} // namespace

void appendEscaped(std::string& out, const char* data, size_t length) {
    size_t i = 0;
    while (i < length) {
        const size_t run = keptRun(data + i, length - i);
        out.append(data + i, run);
        i += run;
        if (i < length)
            appendReference(out, static_cast<unsigned char>(data[i++]));
    }
}

std::string escape(const std::string& raw) {
    std::string out;
    out.reserve(raw.size());
    appendEscaped(out, raw.data(), raw.size());
    return out;
}

Writer::Writer(std::string& out, const std::string& newline, const std::string& indentUnit,
               const std::string& indent)
    : out(out), newline(newline), indentUnit(indentUnit), indent(indent) {}

void Writer::write(const Element& root) {
    if (root.kind != Element::KindTag || root.children.empty()) {
        writeLeaf(root);
        return;
    }
    openTag(root);
    while (!stack.empty()) {
        Frame& frame = stack.back();
        const auto& children = frame.element->children;
        if (frame.next == children.size()) {
            const Frame closed = frame;
            stack.pop_back();
            closeTag(closed);
            if (!stack.empty() && !stack.back().inlineMode)
                out += newline;
            continue;
        }
        const Element& child = *children[frame.next];
        // Two text runs in a row would merge when read back; a space at least keeps the words
        // apart.
        if (frame.inlineMode && frame.next > 0 && child.kind == Element::KindText &&
            children[frame.next - 1]->kind == Element::KindText)
            out += ' ';
        ++frame.next;
        if (child.kind == Element::KindTag && !child.children.empty()) {
            openTag(child); // invalidates `frame`
            continue;
        }
        const bool inlineMode = frame.inlineMode;
        writeLeaf(child);
        if (!inlineMode)
            out += newline;
    }
}

// Text, comments, tags without children and kinds that are written as nothing.
void Writer::writeLeaf(const Element& element) {
    const std::string_view name = element.nameView();
    switch (element.kind) {
    case Element::KindText:
        appendEscaped(out, name.data(), name.size());
        return;
    case Element::KindComment:
        out += indent;
        out += "<!-- ";
        appendEscaped(out, name.data(), name.size());
        out += "-- >";
        return;
    case Element::KindTag:
        out += indent;
        out += '<';
        appendEscaped(out, name.data(), name.size());
        writeAttributes(element);
        out += "/>";
        return;
    default:
        return;
    }
}

// A tag with children: writes the start tag and descends one level.
void Writer::openTag(const Element& element) {
    const std::string_view name = element.nameView();
    out += indent;
    out += '<';
    appendEscaped(out, name.data(), name.size());
    writeAttributes(element);
    out += '>';
    const bool inlineMode = element.children.front()->kind == Element::KindText;
    if (!inlineMode)
        out += newline;
    stack.push_back({&element, 0, inlineMode});
    if (stack.size() <= MaxIndentLevels)
        indent += indentUnit;
}

// Called once the frame is off the stack.
void Writer::closeTag(const Frame& frame) {
    if (stack.size() + 1 <= MaxIndentLevels)
        indent.resize(indent.size() - indentUnit.size());
    if (!frame.inlineMode)
        out += indent;
    const std::string_view name = frame.element->nameView();
    out += "</";
    appendEscaped(out, name.data(), name.size());
    out += '>';
}

// Values are escaped like text, and ">" as "&#62;" too: the reader ends a tag at the first ">"
// even inside quotes, so only then does every value read back as written.
void Writer::writeAttributes(const Element& element) {
    element.forEachAttribute([this](std::string_view name, std::string_view value) {
        const bool hasDouble = contains(value, '"');
        const bool hasSingle = contains(value, '\'');
        const bool both = hasDouble && hasSingle;
        const char quote = hasDouble && !hasSingle ? '\'' : '"';
        out += ' ';
        out += name;
        out += '=';
        out += quote;
        const char* data = value.data();
        const size_t length = value.size();
        size_t i = 0;
        while (i < length) {
            size_t run = i;
            while (run < length && charclass::is(data[run], Kept) && data[run] != '>' &&
                   !(both && data[run] == '"'))
                ++run;
            out.append(data + i, run - i);
            i = run;
            if (i < length)
                appendReference(out, static_cast<unsigned char>(data[i++]));
        }
        out += quote;
    });
}

} // namespace mvk::util::xml
