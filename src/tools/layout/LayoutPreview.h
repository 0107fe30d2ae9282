#pragma once
// Builds one layout file offscreen and shows the author what came of it: a screenshot of the
// root component and, on request, the component tree.
#include <iosfwd>
#include <string>

namespace mvk::gui {
class Component;
}

namespace qvn::tools {

class LayoutPreview {
public:
    // Exit codes of run().
    static constexpr int Done = 0;
    static constexpr int BadArguments = 1;
    static constexpr int NoComponent = 2;
    static constexpr int CannotWrite = 3;

    struct Options {
        std::string layout;
        std::string png;
        int width = 0;
        int height = 0;
        bool dump = false;
    };

    // Reads `FILE.xml [--png OUT.png] [--size WxH] [--dump]`; false (with a message on
    // `errors`) when the arguments make no sense.
    static bool parse(int argc, char** argv, Options& options, std::ostream& errors);
    static void usage(std::ostream& out);

    // Builds the layout and does what the options ask; the data folder gives the image aliases.
    static int run(const Options& options, const std::string& dataFolder, std::ostream& out,
                   std::ostream& errors);

    // One line per component, indented by depth: kind, id, label.
    static void dump(mvk::gui::Component* component, std::ostream& out, int depth = 0);
};

} // namespace qvn::tools
