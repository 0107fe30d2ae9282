#pragma once
// An attached core whose install tree holds a copy of the shipped data (tool modules only when
// a test installs them), so a test may change a layout before the core reads it.
#include "RefHost.h"
#include "core/CoreImplementation.h"
#include "core/Startup.h"
#include "core/instances/Instance.h"
#include "core/instances/InstanceReference.h"
#include "gui/Component.h"
#include "gui/StdComponent.h"
#include "support/TestEnvironment.h"
#include "util/Log.h"

#include <QAbstractButton>
#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace qvn::test {

class AttachedCore : public ::testing::Test {
protected:
    void SetUp() override {
        environment.userDataPath();
        std::filesystem::copy(TestEnvironment::stageRoot() + "/quorvane/data", dataFolder(),
                              std::filesystem::copy_options::recursive);
    }
    // The tool modules of the build, with the sample orbit camera.
    void installSamplePlugins() {
        std::filesystem::copy(TestEnvironment::stageRoot() + "/quorvane/plugins",
                              environment.installRoot() + "/quorvane/plugins",
                              std::filesystem::copy_options::recursive);
    }
    void TearDown() override {
        if (core != nullptr)
            mvk::qvn::core::detachCore(core);
    }

    std::string dataFolder() const { return environment.installRoot() + "/quorvane/data"; }
    std::string layoutFile(const std::string& name) const {
        return dataFolder() + "/core/layout/" + name;
    }
    // Replaces the first `from` in a shipped layout by `to`.
    void editLayout(const std::string& name, const std::string& from, const std::string& to) {
        std::string text = TestEnvironment::readFile(layoutFile(name));
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from << " not in " << name;
        text.replace(at, from.size(), to);
        environment.writeFile(layoutFile(name), text);
    }

    mvk::qvn::core::CoreImplementation* attach() {
        core = mvk::qvn::core::attachCore(&host);
        return static_cast<mvk::qvn::core::CoreImplementation*>(core);
    }
    mvk::qvn::core::CoreImplementation* implementation() const {
        return static_cast<mvk::qvn::core::CoreImplementation*>(core);
    }
    // A new orbit camera of the sample modules at the top of the tool tree.
    mvk::qvn::core::Instance* newOrbitCamera() {
        auto* reference = implementation()->InstanceManager::createInstance("Orbit Camera", "");
        return reference != nullptr ? reference->getInstance() : nullptr;
    }
    mvk::gui::Component* mainComponent(int32_t id) const {
        mvk::gui::Component* root = core ? core->getMainWindow() : nullptr;
        return root ? root->findById(id) : nullptr;
    }
    // What a component reports when the user acts on it.
    static void userEvent(mvk::gui::Component* component, int32_t code, int32_t param) {
        ASSERT_NE(component, nullptr);
        static_cast<mvk::gui::StdComponent*>(component)->sendEvent(code, param);
    }
    // Clicks the push button `id` of a window, as the user does.
    static void clickButton(mvk::gui::Component* root, int32_t id) {
        mvk::gui::Component* component = root != nullptr ? root->findById(id) : nullptr;
        auto* button =
            component != nullptr ? qobject_cast<QAbstractButton*>(component->getWidget()) : nullptr;
        ASSERT_NE(button, nullptr) << id;
        button->click();
    }
    static size_t occurrences(const std::string& text, const std::string& line) {
        size_t count = 0;
        for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
            ++count;
        return count;
    }
    static std::string logText() { return mvk::util::Log::instance()->text(); }
    // The visible top-level window with that title, or null.
    static QWidget* shownWindow(const std::string& title) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->windowTitle().toStdString() == title)
                return window;
        return nullptr;
    }
    static bool countdownShown() { return shownWindow("Countdown") != nullptr; }

    TestEnvironment environment;
    qvn::host::RefHost host;
    mvk::qvn::CoreInterface* core = nullptr;
};

} // namespace qvn::test
