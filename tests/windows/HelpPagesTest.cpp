// The help pages of the install tree, made from the guides at build time: the page the Help menu
// opens exists, carries the guide's text, and every link and picture in the pages resolves.
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

fs::path helpFolder() {
    return fs::path(qvn::test::TestEnvironment::stageRoot()) / "quorvane" / "help_documentation";
}

TEST(HelpPagesTest, TheStagedHelpHoldsTheGuideAndEveryLinkResolves) {
    const fs::path help = helpFolder() / "help.html";
    ASSERT_TRUE(fs::is_regular_file(help)) << help;
    const std::string page = qvn::test::TestEnvironment::readFile(help.string());
    // Rendered, not copied: headings became HTML and no Markdown link syntax is left.
    EXPECT_NE(page.find("Quorvane for animators"), std::string::npos);
    EXPECT_NE(page.find("<h2"), std::string::npos);
    EXPECT_EQ(page.find("]("), std::string::npos);
    EXPECT_EQ(page.find(".md\""), std::string::npos);

    int checked = 0;
    const std::regex reference(R"((?:href|src)="([^"#]*)(#[^"]*)?")");
    for (const auto& entry : fs::directory_iterator(helpFolder())) {
        if (entry.path().extension() != ".html")
            continue;
        const std::string text = qvn::test::TestEnvironment::readFile(entry.path().string());
        for (std::sregex_iterator it(text.begin(), text.end(), reference), end; it != end; ++it) {
            const std::string target = (*it)[1];
            if (target.empty() || target.find("://") != std::string::npos ||
                target.rfind("mailto:", 0) == 0)
                continue;
            EXPECT_TRUE(fs::exists(entry.path().parent_path() / target))
                << entry.path().filename() << " links to " << target;
            ++checked;
        }
    }
    // The guides show pictures of the windows and link each other.
    EXPECT_GE(checked, 8);
}

} // namespace
