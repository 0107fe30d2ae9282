#pragma once
// Log text taken apart for comparisons: its lines, and the message part of each line.
#include <string>
#include <vector>

namespace qvn::test {

std::vector<std::string> splitLines(const std::string& text);
// What follows the time stamp and level ("): "), section tabs included.
std::string messageOf(const std::string& line);
// The message of every line, without its section tabs.
std::vector<std::string> messagesOf(const std::string& text);

} // namespace qvn::test
