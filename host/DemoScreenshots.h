#pragma once
// Pictures of the windows a demo session opened, written as PNG files.
#include <ostream>
#include <string>
#include <vector>

namespace qvn::host {

class DemoScreenshots {
public:
    DemoScreenshots(std::string folder, std::ostream& out) : folder(std::move(folder)), out(out) {}

    // Lets the core's windows lay themselves out, then writes every visible top-level window
    // titled `title` to <folder>/<file>. False when no such window is shown or it cannot be
    // written.
    bool take(const std::string& title, const std::string& file);
    const std::vector<std::string>& written() const { return files; }

private:
    std::string folder;
    std::ostream& out;
    std::vector<std::string> files;
};

} // namespace qvn::host
