// Hostile template files in the install tree: attach survives them, logs and skips what it
// cannot read, and the readable templates still work.
#include "TemplateFixture.h"
#include "core/libraries/Library.h"
#include "core/libraries/LibraryManager.h"
#include "core/libraries/Template.h"
#include "unidevice/DeviceHandler.h"
#include "util/DataChunk.h"

#include <algorithm>
#include <random>

namespace qvn::test {
namespace {

using mvk::util::DataChunk;

std::string templateText(const std::string& name, const std::string& input,
                         const std::string& script) {
    return "<QVT_Plugin><type>template</type><name>" + name + "</name><customdata><input>" + input +
           "</input><virtualdevice><control><name>Out</name><infinite/><script>" + script +
           "</script></control></virtualdevice></customdata></QVT_Plugin>";
}

std::string nested(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<neg>";
    text += "<constant>1</constant>";
    for (int i = 0; i < depth; ++i)
        text += "</neg>";
    return text;
}

std::string randomBytes(size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(count, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(generator() & 0xFF);
    return bytes;
}

std::string packed(const std::string& text) {
    const DataChunk chunk = DataChunk(text.data(), text.size()).encode();
    return std::string(reinterpret_cast<const char*>(chunk.data()), chunk.size());
}

class TemplateLoadingTest : public TemplateFixture {
protected:
    void SetUp() override {
        std::string properties;
        for (int i = 0; i < 10000; ++i)
            properties += "<property><name>P" + std::to_string(i) + "</name><finite/></property>";
        const std::string header = packed("<QVT_Plugin/>").substr(0, 16);
        const std::pair<std::string, std::string> files[] = {
            {"good.prm", packed(templateText("Good", "", "<constant>2</constant>"))},
            {"deep.prm", templateText("Deep", "", nested(100000))},
            {"unknown.prm",
             templateText("Unknown", "", "<frobnicate><constant>1</constant></frobnicate>")},
            {"many.prm", packed(templateText("Many", properties, "<constant>3</constant>"))},
            {"garbage.prm", "<QVT_Plugin compressed=\"1\">" +
                                DataChunk::base64Encode(randomBytes(3000, 1).data(), 3000) +
                                "</QVT_Plugin>"},
            {"garbled/inner.prm", header + randomBytes(5000, 2)},
            {"noise.prm", randomBytes(4096, 3)}};
        for (const auto& [name, content] : files)
            environment.writeFile(environment.installRoot() + "/quorvane/prm/" + name, content);
        TemplateFixture::SetUp();
    }
};

TEST_F(TemplateLoadingTest, UnreadableTemplatesAreSkippedAndTheOthersWork) {
    LibraryManager* libraries = LibraryManager::instance();
    std::vector<std::string> templates;
    for (int l = 0; l < libraries->libraryCount(); ++l)
        for (int t = 0; t < libraries->library(l)->toolCount(); ++t)
            if (auto* found = dynamic_cast<Template*>(libraries->library(l)->tool(t)))
                templates.push_back(found->name());
    std::sort(templates.begin(), templates.end());
    // Any nesting depth is well-formed XML, so the deep template loads; only its script is
    // too deep to build.
    EXPECT_EQ(templates, (std::vector<std::string>{"Deep", "Good", "Many", "Unknown"}));
    const std::string folder = environment.installRoot() + "/quorvane/prm/";
    EXPECT_NE(log().find("No template in file: " + folder + "garbage.prm"), std::string::npos);
    EXPECT_NE(log().find("Template file is not well-formed XML"), std::string::npos);

    Instance* good = create("Good");
    Instance* unknown = create("Unknown");
    Instance* many = create("Many");
    Instance* deep = create("Deep");
    ASSERT_TRUE(good && unknown && many && deep);
    EXPECT_EQ(many->getProperties()->count(), 10000);
    EXPECT_EQ(many->getProperties()->property(9999)->name(), "P9999");
    mvk::unidevice::DeviceHandler::instance()->updateAll();
    EXPECT_EQ(value(good, 0), 2.0);
    EXPECT_EQ(value(many, 0), 3.0);
    EXPECT_EQ(value(unknown, 0), 0.0);
    EXPECT_EQ(value(deep, 0), 0.0);
}

} // namespace
} // namespace qvn::test
