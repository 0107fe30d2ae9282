#include "support/LogLines.h"

#include <algorithm>
#include <sstream>

namespace qvn::test {

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string messageOf(const std::string& line) {
    const size_t at = line.find("): ");
    return at == std::string::npos ? line : line.substr(at + 3);
}

std::vector<std::string> messagesOf(const std::string& text) {
    std::vector<std::string> messages;
    for (const std::string& line : splitLines(text)) {
        const std::string message = messageOf(line);
        messages.push_back(message.substr(std::min(message.find_first_not_of('\t'), message.size())));
    }
    return messages;
}

} // namespace qvn::test
