#include "support/TestEnvironment.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace qvn::test {

TestEnvironment::TestEnvironment(const std::string& installRoot) {
    std::string pattern = (fs::temp_directory_path() / "qvn-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        std::abort();
    base = pattern;
    fs::create_directories(home() + "/Documents");
    fs::create_directories(base + "/config");
    fs::create_directories(base + "/runtime");
    chmod((base + "/runtime").c_str(), 0700);
    install = installRoot;
    if (install.empty()) {
        install = base + "/install";
        fs::create_directories(install + "/quorvane/data");
    }
    setVariable("HOME", home());
    setVariable("XDG_CONFIG_HOME", base + "/config");
    setVariable("XDG_RUNTIME_DIR", base + "/runtime");
    setVariable("XDG_DOCUMENTS_DIR", home() + "/Documents");
    setVariable("QUORVANE_INSTALL_ROOT", install);
}

TestEnvironment::~TestEnvironment() {
    for (const auto& [name, value] : saved) {
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }
    std::error_code error;
    fs::remove_all(base, error);
}

void TestEnvironment::setVariable(const std::string& name, const std::string& value) {
    if (saved.find(name) == saved.end()) {
        const char* old = std::getenv(name.c_str());
        saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    setenv(name.c_str(), value.c_str(), 1);
}

std::string TestEnvironment::userDataPath() const {
    const std::string path = home() + "/Documents/Morvik Vedidedivu/quorvane";
    fs::create_directories(path + "/data");
    return path;
}

std::string TestEnvironment::writeFile(const std::string& path, const std::string& content) const {
    const fs::path full = path.rfind('/', 0) == 0 ? fs::path(path) : fs::path(base) / path;
    fs::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out << content;
    return full.string();
}

std::string TestEnvironment::stageRoot() { return QVN_STAGE_ROOT; }

std::string TestEnvironment::readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace qvn::test
