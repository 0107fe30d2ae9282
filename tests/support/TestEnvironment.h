#pragma once
// Points HOME, XDG_CONFIG_HOME, XDG_RUNTIME_DIR and QUORVANE_INSTALL_ROOT at fresh temporary
// folders for the lifetime of the object, so no test touches the real home; restores them after.
#include <map>
#include <optional>
#include <string>

namespace qvn::test {

class TestEnvironment {
public:
    // With `installRoot` empty a fresh empty install root is made; pass stageRoot() to run
    // against the built install tree.
    explicit TestEnvironment(const std::string& installRoot = {});
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    const std::string& root() const { return base; }
    std::string home() const { return base + "/home"; }
    std::string installRoot() const { return install; }
    // The documents folder + "/Morvik Vedidedivu/quorvane", created with its parents and its
    // "data" folder (the installer's job; the core itself only adds single levels below).
    std::string userDataPath() const;
    // Writes `content` into `path` (relative paths are taken under root()), making folders.
    std::string writeFile(const std::string& path, const std::string& content) const;

    static std::string stageRoot();
    static std::string readFile(const std::string& path);

private:
    void setVariable(const std::string& name, const std::string& value);

    std::string base;
    std::string install;
    std::map<std::string, std::optional<std::string>> saved;
};

} // namespace qvn::test
