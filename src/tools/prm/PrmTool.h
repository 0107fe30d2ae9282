#pragma once
// The template author's command-line tool: packs a template written as XML into the compact
// form the library manager loads (*.prm), unpacks one back into readable XML, and checks one
// the way the core will read it.
#include "util/xml/Element.h"

#include <ostream>
#include <string>
#include <vector>

namespace mvk::qvn::tools {

class PrmTool {
public:
    // Exit statuses.
    static constexpr int Success = 0;
    static constexpr int Failed = 1; // the input is unreadable or, for check, has errors
    static constexpr int Usage = 2;

    // Reports go to `out`, problems to `err`.
    PrmTool(std::ostream& out, std::ostream& err) : out(out), err(err) {}

    // `arguments` without the program name: "pack IN OUT", "unpack IN OUT" or "check FILE".
    int run(const std::vector<std::string>& arguments);

    // The XML text of `input`, written without layout or comments, encoded as a data chunk into
    // `output`.
    int pack(const std::string& input, const std::string& output);
    // The template of `input` (encoded or not; a compressed tool tag is expanded) written as
    // indented XML into `output`.
    int unpack(const std::string& input, const std::string& output);
    // Reads `file` as the core does and lists its properties, configuration, controls and
    // categories; every script that would not build is an error.
    int check(const std::string& file);

private:
    // Reads and parses a template file, encoded or plain; false (reported) when it is no
    // template document.
    bool readDocument(const std::string& path, util::xml::Element& root);
    bool writeBytes(const std::string& path, const void* data, size_t size);
    void usage();

    std::ostream& out;
    std::ostream& err;
};

} // namespace mvk::qvn::tools
