#include "core/configadaptor/ProfileFormat.h"

#include "util/DataChunk.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <string_view>
#include <vector>

namespace mvk::qvn::core::configadaptor {

using util::xml::Element;

namespace {

bool isTag(const Element& element, const char* name) {
    return element.type() == Element::KindTag && element.name() == name;
}

// The value of the last attribute of that name without copying it (profiles are read by every
// element in turn, so look-ups must stay cheap); null when absent.
const std::string* findAttribute(const Element& element, std::string_view name) {
    const auto& attributes = element.attributes();
    for (auto it = attributes.rbegin(); it != attributes.rend(); ++it)
        if (it->first == name)
            return &it->second;
    return nullptr;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// The whole text must be the number, apart from surrounding white space and a plus sign, so
// "12abc" is refused rather than read as 12. Independent of the locale.
template <class T> bool parseNumber(std::string_view text, T& number) {
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);
    T parsed{};
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, parsed);
    if (result.ec != std::errc() || result.ptr != end)
        return false;
    number = parsed;
    return true;
}

// Profiles store bytes little-endian whatever the machine.
template <class T> void copyLittleEndian(const uint8_t* from, T& to) {
    uint8_t bytes[sizeof(T)];
    std::memcpy(bytes, from, sizeof(T));
    if constexpr (std::endian::native == std::endian::big)
        std::reverse(bytes, bytes + sizeof(T));
    std::memcpy(&to, bytes, sizeof(T));
}

bool hasType(const Element& item, std::string_view type) {
    const std::string* found = findAttribute(item, "type");
    return found != nullptr && *found == type;
}

// An empty "type" counts as none.
bool isGenericOrUntyped(const Element& item) {
    const std::string* type = findAttribute(item, "type");
    return type == nullptr || type->empty() || *type == "generic";
}

template <class T> bool readBlob(const Element& item, T& value) {
    const util::DataChunk bytes = util::DataChunk::base64Decode(item.text());
    if (bytes.size() < sizeof(T))
        return false;
    copyLittleEndian(bytes.data(), value);
    return true;
}

// The older form: "profile" with "spinner", "check", "combo", "text", "group" and "button"
// children, each naming its label in "name".
class OldProfileConverter {
public:
    explicit OldProfileConverter(Element& target) : target(target) {}

    // Walks the old tree depth first with an explicit stack, so the automatic ids follow the
    // document order and no nesting depth can exhaust the call stack.
    void convertChildrenOf(const Element& profile) {
        std::vector<Frame> stack{{&profile, 0, &target}};
        while (!stack.empty()) {
            Frame& frame = stack.back();
            if (frame.next >= frame.source->childCount()) {
                stack.pop_back();
                continue;
            }
            const Element& old = frame.source->child(frame.next++);
            Element* parent = frame.target;
            if (isTag(old, "button")) {
                stack.push_back({&old, 0, parent});
            } else if (isTag(old, "group")) {
                Element& group = parent->addChild(convertGroup(old));
                stack.push_back({&old, 0, &group});
            } else if (old.type() == Element::KindTag) {
                Element item = convertItem(old);
                if (!item.isEmpty())
                    parent->addChild(std::move(item));
            }
        }
    }

private:
    struct Frame {
        const Element* source;
        int next;
        Element* target;
    };

    static Element convertGroup(const Element& old) {
        Element group = util::xml::Tag(ProfileFormat::GroupTag);
        if (old.hasAttribute("id"))
            group.attribute("id") = old.attribute("id");
        copyLabel(old, group);
        return group;
    }

    // Empty for elements of any other kind, which are skipped.
    Element convertItem(const Element& old) {
        const std::string& kind = old.name();
        const bool spinner = kind == "spinner";
        const bool check = kind == "check";
        const bool textual = kind == "combo" || kind == "text";
        if (!spinner && !check && !textual)
            return {};
        Element item = util::xml::Tag(ProfileFormat::ItemTag);
        item.attribute("id") = old.hasAttribute("id") ? old.attribute("id") : nextAutoId();
        copyLabel(old, item);
        item.attribute("type") = textual ? "string" : "generic";
        if (spinner)
            item.addChild(old.child(0));
        else if (check)
            item.addChild(util::xml::Text(firstChildText(old) == "true" ? "1" : "0"));
        else
            item.addChild(old.child("value").child(0));
        return item;
    }

    // An old element without "name" gets an empty "label": its value belongs to an element
    // without a label, not to every element of that id.
    static void copyLabel(const Element& old, Element& converted) {
        converted.attribute("label") = old.attribute("name");
    }

    static std::string firstChildText(const Element& old) {
        const Element& first = old.child(0);
        return first.type() == Element::KindText ? first.name() : std::string();
    }

    std::string nextAutoId() { return std::to_string(autoId++); }

    Element& target;
    int64_t autoId = 0;
};

// The "profile" element of the older form: the element itself, or the first child of a
// "configprofile" of another version.
const Element& oldProfileOf(const Element& element) {
    if (isTag(element, ProfileFormat::ProfileTag))
        return element.child(0);
    return element;
}

} // namespace

Element ProfileFormat::makeProfile() {
    Element profile = util::xml::Tag(ProfileTag);
    profile.attribute("version") = CurrentVersion;
    return profile;
}

bool ProfileFormat::isCurrent(const Element& element) {
    return isTag(element, ProfileTag) && element.attribute("version") == CurrentVersion;
}

Element ProfileFormat::convertProfile(const Element& element) {
    if (isCurrent(element))
        return element;
    const Element& old = oldProfileOf(element);
    Element converted = makeProfile();
    if (old.hasAttribute("name"))
        converted.attribute("name") = old.attribute("name");
    converted.attribute("converted") = "yes";
    if (isTag(old, "profile"))
        OldProfileConverter(converted).convertChildrenOf(old);
    return converted;
}

std::optional<int32_t> ProfileFormat::readId(const Element& element) {
    const std::string* text = findAttribute(element, "id");
    if (text == nullptr)
        return -1;
    int32_t id = 0;
    if (!parseNumber(*text, id))
        return std::nullopt;
    return id;
}

const Element* ProfileFormat::findItem(const Element& element, int32_t id,
                                       const std::string& label) {
    for (int i = 0; i < element.childCount(); ++i) {
        const Element& item = element.child(i);
        if (!isTag(item, ItemTag) || readId(item) != id)
            continue;
        const std::string* itemLabel = findAttribute(item, "label");
        if (itemLabel != nullptr && *itemLabel != label)
            continue;
        return &item;
    }
    return nullptr;
}

Element ProfileFormat::makeGroup(int32_t id, const std::string& label) {
    Element group = util::xml::Tag(GroupTag);
    group.attribute("id") = std::to_string(id);
    group.attribute("label") = label;
    return group;
}

Element ProfileFormat::makeItem(int32_t id, const std::string& label, const std::string& type,
                                const std::string& content) {
    Element item = util::xml::Tag(ItemTag);
    item.attribute("id") = std::to_string(id);
    item.attribute("label") = label;
    if (!type.empty())
        item.attribute("type") = type;
    item.addChild(util::xml::Text(content));
    return item;
}

std::string ProfileFormat::encodeBlob(double value) {
    uint8_t bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    if constexpr (std::endian::native == std::endian::big)
        std::reverse(bytes, bytes + sizeof value);
    return util::DataChunk::base64Encode(bytes, sizeof bytes);
}

bool ProfileFormat::readDouble(const Element& item, double& value) {
    if (hasType(item, "blob"))
        return readBlob(item, value);
    return isGenericOrUntyped(item) && parseNumber(item.text(), value);
}

bool ProfileFormat::readInteger(const Element& item, int32_t& value) {
    if (hasType(item, "blob"))
        return readBlob(item, value);
    return isGenericOrUntyped(item) && parseNumber(item.text(), value);
}

bool ProfileFormat::readFlag(const Element& item, bool& value) {
    if (!isGenericOrUntyped(item))
        return false;
    const std::string& text = item.text();
    if (text != "1" && text != "0")
        return false;
    value = text == "1";
    return true;
}

bool ProfileFormat::readText(const Element& item, std::string& value) {
    // "string" is what converted profiles carry; taking it keeps the values of older profiles.
    if (!hasType(item, "text") && !hasType(item, "string"))
        return false;
    value = item.text();
    return true;
}

} // namespace mvk::qvn::core::configadaptor
