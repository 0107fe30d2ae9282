#pragma once
// Reading attribute values of layout elements. A missing, empty or unreadable value leaves the
// target untouched, so every field keeps its default.
#include "util/xml/Element.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace mvk::gui::Attributes {

// The largest width or height a layout may ask for as a current or desired size; anything
// beyond cannot be drawn and is clamped. Limits (maxwidth, maxheight) keep their own range.
constexpr int32_t LargestExtent = 8192;
// Positions are clamped into +/- this, so sums along a deep tree cannot overflow.
constexpr int32_t LargestOffset = 1000000;

// Decimal integer read with a text stream: leading blanks skipped, reading stops at the first
// character that is not part of the number.
bool readInt(const util::xml::Element& element, const std::string& name, int32_t& value);
bool readReal(const util::xml::Element& element, const std::string& name, double& value);
// Up to four blank-separated integers; values that do not parse keep their defaults.
void readFour(const util::xml::Element& element, const std::string& name,
              std::array<int32_t, 4>& values);
// True when the attribute equals one of `words`.
bool isOneOf(const util::xml::Element& element, const std::string& name,
             std::initializer_list<const char*> words);
// Stores the attribute's text when present.
bool readText(const util::xml::Element& element, const std::string& name, std::string& value);

int32_t clampExtent(int32_t value);
int32_t clampLimit(int32_t value);
int32_t clampOffset(int32_t value);

void writeFour(util::xml::Element& element, const std::string& name,
               const std::array<int32_t, 4>& values);
// A real written with enough digits to read back the same double.
std::string realText(double value);

} // namespace mvk::gui::Attributes
