#include "GamepadScript.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <locale>
#include <sstream>

namespace mvk::examples {

namespace {

bool isBlankOrComment(const std::string& line) {
    const auto first = line.find_first_not_of(" \t\r");
    return first == std::string::npos || line[first] == '#';
}

} // namespace

GamepadScript GamepadScript::parse(const std::string& text) {
    GamepadScript script;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (isBlankOrComment(line))
            continue;
        std::istringstream fields(line);
        fields.imbue(std::locale::classic());
        std::string first;
        fields >> first;
        if (first == "loop") {
            double period = 0.0;
            if (fields >> period && std::isfinite(period) && period > 0.0)
                script.period = period;
            else
                ++script.malformed;
            continue;
        }
        std::istringstream timeField(first);
        timeField.imbue(std::locale::classic());
        double time = 0.0;
        double value = 0.0;
        std::string control;
        if (!(timeField >> time) || !(fields >> control >> value) || !std::isfinite(time) ||
            !std::isfinite(value)) {
            ++script.malformed;
            continue;
        }
        script.keys[control].emplace_back(time, value);
    }
    for (auto& [control, track] : script.keys)
        std::stable_sort(track.begin(), track.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    return script;
}

GamepadScript GamepadScript::load(const std::string& path) {
    std::ifstream file(path);
    if (!file)
        return {};
    std::ostringstream text;
    text << file.rdbuf();
    return parse(text.str());
}

double GamepadScript::valueAt(const std::string& control, double seconds) const {
    const auto found = keys.find(control);
    if (found == keys.end())
        return 0.0;
    if (period > 0.0)
        seconds = std::fmod(std::max(seconds, 0.0), period);
    const auto& track = found->second;
    if (seconds < track.front().first)
        return 0.0;
    // The first key later than `seconds`; the one before it is in force.
    const auto next = std::upper_bound(track.begin(), track.end(), seconds,
                                       [](double t, const auto& key) { return t < key.first; });
    if (next == track.end())
        return track.back().second;
    const auto& [fromTime, fromValue] = *(next - 1);
    const auto& [toTime, toValue] = *next;
    const double fraction = (seconds - fromTime) / (toTime - fromTime);
    return fromValue + (toValue - fromValue) * fraction;
}

} // namespace mvk::examples
