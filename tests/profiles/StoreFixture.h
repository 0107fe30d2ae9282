#pragma once
// Profile stores pointed at a temporary user data folder and install tree.
#include "support/TestEnvironment.h"
#include "util/Log.h"
#include "util/SingletonCollector.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace qvn::test {

class StoreFixture : public ::testing::Test {
protected:
    void TearDown() override {
        if (auto* collector = mvk::util::SingletonCollector::existing())
            collector->destroyAll();
    }

    std::string dataFolder() const { return environment.root() + "/user/data/cam"; }
    std::string installedFolder() const { return environment.root() + "/install/data/cam"; }

    // Every regular file below the temporary root.
    std::set<std::string> allFiles() const {
        std::set<std::string> found;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(environment.root()))
            if (entry.is_regular_file())
                found.insert(entry.path().string());
        return found;
    }

    // The messages logged from now on, without time stamp, level and indentation.
    void markLog() { logMark = mvk::util::Log::instance()->text().size(); }
    std::vector<std::string> loggedMessages() const {
        const std::string text = mvk::util::Log::instance()->text().substr(logMark);
        std::vector<std::string> messages;
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            std::string line = text.substr(start, end - start);
            size_t message = line.find("): ");
            message = message == std::string::npos ? 0 : message + 3;
            while (message < line.size() && line[message] == '\t')
                ++message;
            messages.push_back(line.substr(message));
            start = end + 1;
        }
        return messages;
    }

    TestEnvironment environment;
    size_t logMark = 0;
};

} // namespace qvn::test
