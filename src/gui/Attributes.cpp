#include "gui/Attributes.h"

#include <algorithm>
#include <sstream>

namespace mvk::gui::Attributes {

namespace {

template <class T>
bool readNumber(const util::xml::Element& element, const std::string& name, T& value) {
    if (!element.hasAttribute(name))
        return false;
    std::istringstream stream(element.attribute(name));
    T read{};
    if (!(stream >> read))
        return false;
    value = read;
    return true;
}

} // namespace

bool readInt(const util::xml::Element& element, const std::string& name, int32_t& value) {
    return readNumber(element, name, value);
}

bool readReal(const util::xml::Element& element, const std::string& name, double& value) {
    return readNumber(element, name, value);
}

void readFour(const util::xml::Element& element, const std::string& name,
              std::array<int32_t, 4>& values) {
    if (!element.hasAttribute(name))
        return;
    std::istringstream stream(element.attribute(name));
    for (int32_t& value : values) {
        int32_t read = 0;
        if (!(stream >> read))
            return;
        value = read;
    }
}

bool isOneOf(const util::xml::Element& element, const std::string& name,
             std::initializer_list<const char*> words) {
    if (!element.hasAttribute(name))
        return false;
    const std::string value = element.attribute(name);
    return std::any_of(words.begin(), words.end(), [&](const char* word) { return value == word; });
}

bool readText(const util::xml::Element& element, const std::string& name, std::string& value) {
    if (!element.hasAttribute(name))
        return false;
    value = element.attribute(name);
    return true;
}

int32_t clampExtent(int32_t value) {
    return std::clamp(value, 0, LargestExtent);
}

int32_t clampLimit(int32_t value) {
    return std::clamp(value, 0, int32_t{0x4FFFFFFF});
}

int32_t clampOffset(int32_t value) {
    return std::clamp(value, -LargestOffset, LargestOffset);
}

void writeFour(util::xml::Element& element, const std::string& name,
               const std::array<int32_t, 4>& values) {
    element.attribute(name) = std::to_string(values[0]) + " " + std::to_string(values[1]) + " " +
                              std::to_string(values[2]) + " " + std::to_string(values[3]);
}

std::string realText(double value) {
    std::ostringstream stream;
    stream.precision(17);
    stream << value;
    return stream.str();
}

} // namespace mvk::gui::Attributes
