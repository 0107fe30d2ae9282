#pragma once
// Numbers as they appear in binding and property elements.
#include <cstdint>
#include <string>

namespace mvk::unidevice {

// Reads a decimal integer the lenient way bindings always have been read: leading blanks, an
// optional sign, then digits up to the first other byte; no digits gives 0, and values beyond
// the 32-bit range are clamped.
int32_t readDecimal(const std::string& text);
// Default stream formatting: six significant digits, shortest form (1, 0.1, 2.5, 1e-07).
std::string formatNumber(double value);
// Reads a floating-point number; false (and `value` untouched) when the text holds none.
bool readNumber(const std::string& text, double& value);

} // namespace mvk::unidevice
