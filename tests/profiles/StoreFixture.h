#pragma once
// Profile stores pointed at a temporary user data folder and install tree.
#include "support/LogLines.h"
#include "support/TestEnvironment.h"
#include "util/Log.h"
#include "util/SingletonCollector.h"
#include "util/xml/Element.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace qvn::test {

class StoreFixture : public ::testing::Test {
protected:
    // `storeName`: the folder below the tool's user data folder that the store writes into.
    explicit StoreFixture(std::string storeName) : storeName(std::move(storeName)) {}
    void TearDown() override {
        if (auto* collector = mvk::util::SingletonCollector::existing())
            collector->destroyAll();
    }

    std::string dataFolder() const { return environment.root() + "/user/data/cam"; }
    std::string installedFolder() const { return environment.root() + "/install/data/cam"; }
    std::string destination() const { return dataFolder() + "/" + storeName; }
    std::string userFile(const std::string& name) const { return destination() + "/" + name; }
    void writeUser(const std::string& file, const std::string& content) const {
        environment.writeFile(userFile(file), content);
    }
    void writeInstalled(const std::string& file, const std::string& content) const {
        environment.writeFile(installedFolder() + "/" + file, content);
    }
    static mvk::util::xml::Element readBack(const std::string& path) {
        mvk::util::xml::Element root;
        root.load(path);
        return root;
    }

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
        return messagesOf(mvk::util::Log::instance()->text().substr(logMark));
    }

    std::string storeName;
    TestEnvironment environment;
    size_t logMark = 0;
};

} // namespace qvn::test
