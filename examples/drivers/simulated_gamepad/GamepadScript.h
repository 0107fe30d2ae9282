#pragma once
// The motion of a simulated gamepad, read from a text file: one key per line,
//
//     <time in seconds> <control> <value>      e.g.  0.5 leftx -1
//
// Between two keys of a control its value moves linearly; after the last key it holds; before
// the first it rests at 0. A line "loop <seconds>" repeats the script with that period. Blank
// lines and lines starting with "#" are ignored; a line that does not read is skipped and
// counted.
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace mvk::examples {

class GamepadScript {
public:
    // Reads script text; never fails, see malformedLines().
    static GamepadScript parse(const std::string& text);
    // Reads a script file; an unreadable file gives an empty script.
    static GamepadScript load(const std::string& path);

    // The value of a control (a script name such as "leftx") at a time in seconds.
    double valueAt(const std::string& control, double seconds) const;

    bool isEmpty() const { return keys.empty(); }
    int malformedLines() const { return malformed; }
    double loopPeriod() const { return period; }

private:
    std::map<std::string, std::vector<std::pair<double, double>>> keys;
    double period = 0.0;
    int malformed = 0;
};

} // namespace mvk::examples
