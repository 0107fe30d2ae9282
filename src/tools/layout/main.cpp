// quorvane-layout: shows a layout author what a layout file builds, without a host.
#include "LayoutPreview.h"

#include "gui/Toolkit.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace {

// The staged tree keeps the data folder beside bin/; QUORVANE_INSTALL_ROOT overrides it.
std::string dataFolder(const char* program) {
    if (const char* root = std::getenv("QUORVANE_INSTALL_ROOT"); root != nullptr && *root != '\0')
        return std::string(root) + "/quorvane/data";
    std::error_code error;
    const auto self = std::filesystem::canonical("/proc/self/exe", error);
    const auto bin = error ? std::filesystem::path(program).parent_path() : self.parent_path();
    return (bin.parent_path() / "data").string();
}

} // namespace

int main(int argc, char** argv) {
    qvn::tools::LayoutPreview::Options options;
    if (!qvn::tools::LayoutPreview::parse(argc, argv, options, std::cerr))
        return qvn::tools::LayoutPreview::BadArguments;
    const int result =
        qvn::tools::LayoutPreview::run(options, dataFolder(argv[0]), std::cout, std::cerr);
    mvk::gui::Toolkit::stop();
    mvk::gui::Toolkit::teardownFactories();
    return result;
}
