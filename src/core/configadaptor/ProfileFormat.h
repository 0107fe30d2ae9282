#pragma once
// The XML form of a configuration profile: building and matching its elements, coding the item
// values, and converting profiles of the older form.
#include "util/xml/Element.h"

#include <cstdint>
#include <optional>
#include <string>

namespace mvk::qvn::core::configadaptor {

class ProfileFormat {
public:
    static constexpr const char* ProfileTag = "configprofile";
    static constexpr const char* CurrentVersion = "2.0";
    static constexpr const char* GroupTag = "group";
    static constexpr const char* ItemTag = "item";

    // An empty "configprofile" of the current version.
    static util::xml::Element makeProfile();
    // A "configprofile" of the current version.
    static bool isCurrent(const util::xml::Element& element);
    // A copy of a current profile; anything else becomes a current profile marked "converted",
    // filled from the older form when it is one and empty otherwise.
    static util::xml::Element convertProfile(const util::xml::Element& element);

    // "id" as a signed decimal: -1 when absent, nothing when it is not a 32-bit decimal number.
    static std::optional<int32_t> readId(const util::xml::Element& element);
    // The first "item" child of `element` with that id and, when it carries a label, that label;
    // null when none matches.
    static const util::xml::Element* findItem(const util::xml::Element& element, int32_t id,
                                              const std::string& label);

    static util::xml::Element makeGroup(int32_t id, const std::string& label);
    // An item; `type` empty writes no "type".
    static util::xml::Element makeItem(int32_t id, const std::string& label,
                                       const std::string& type, const std::string& content);

    // A double as the Base64 of its 8 little-endian bytes.
    static std::string encodeBlob(double value);
    // Item readers: each takes the item's content by the rules of its kind and returns true, or
    // returns false and leaves `value` alone when the type is not accepted or the content does
    // not parse.
    static bool readDouble(const util::xml::Element& item, double& value);
    static bool readInteger(const util::xml::Element& item, int32_t& value);
    static bool readFlag(const util::xml::Element& item, bool& value);
    static bool readText(const util::xml::Element& item, std::string& value);
};

} // namespace mvk::qvn::core::configadaptor
